// QtDialog: builds widgets from a template in dialog units and maps user actions to the
// procedure's command(id, notify) and close().
#include "ui/platform/qt_dialog.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QTabBar>
#include <cmath>

namespace {

QFont dialog_font(const DialogTemplate& t) {
    QFont font(QString::fromUtf8(t.font_face));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(t.font_points);
    return font;
}

template <class W> W* as(QWidget* w) {
    return qobject_cast<W*>(w);
}

// A tab control is a frame with a tab bar along its top edge; pages are separate dialogs.
QWidget* make_tab_control(QWidget* parent, const QRect& r) {
    auto* frame = new QFrame(parent);
    frame->setFrameShape(QFrame::StyledPanel);
    frame->setGeometry(r);
    auto* bar = new QTabBar(frame);
    bar->setDrawBase(false);
    bar->setGeometry(0, 0, r.width(), bar->sizeHint().height());
    frame->setProperty("meshlook_tab_bar", QVariant::fromValue(static_cast<QObject*>(bar)));
    return frame;
}

QTabBar* tab_bar_of(QWidget* w) {
    if (!w)
        return nullptr;
    return qobject_cast<QTabBar*>(w->property("meshlook_tab_bar").value<QObject*>());
}

} // namespace

QtDialog::QtDialog(const DialogTemplate& tmpl, std::unique_ptr<DialogProcedure> procedure,
                   QWidget* owner)
    : QWidget(owner), procedure_(std::move(procedure)) {
    if (tmpl.kind == DialogKind::popup) {
        setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                       Qt::WindowCloseButtonHint);
        setWindowTitle(QString::fromUtf8(tmpl.caption));
    }
    setFont(dialog_font(tmpl));
    // Windows derives dialog units from the average width of the 52 letters and the height.
    QFontMetrics metrics(font());
    base_x_ = metrics.horizontalAdvance(
                  QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) /
              52.0;
    base_y_ = metrics.height();
    QRect frame = to_pixels(tmpl.x, tmpl.y, tmpl.w, tmpl.h);
    resize(frame.size());
    if (tmpl.kind == DialogKind::popup && owner) {
        QPoint origin = owner->mapToGlobal(QPoint(0, 0));
        move(origin + frame.topLeft());
    } else {
        move(frame.topLeft());
    }

    for (const ControlTemplate& c : tmpl.controls) {
        QWidget* w = build_control(c);
        if (c.kind == ControlKind::group_box)
            w->lower(); // frames stay behind the controls they surround
        if (c.id != NO_ID)
            controls_[c.id] = w;
        connect_control(c, w);
    }
    procedure_->bind(this, this);
}

QtDialog::~QtDialog() {
    // Edits lose the focus while the children are torn down; the procedure is gone by then.
    for (auto& [id, w] : controls_)
        w->removeEventFilter(this);
}

QRect QtDialog::to_pixels(int x, int y, int w, int h) const {
    auto px = [&](int du) { return static_cast<int>(std::lround(du * base_x_ / 4.0)); };
    auto py = [&](int du) { return static_cast<int>(std::lround(du * base_y_ / 8.0)); };
    return QRect(px(x), py(y), px(w), py(h));
}

QWidget* QtDialog::build_control(const ControlTemplate& c) {
    QRect r = to_pixels(c.x, c.y, c.w, c.h);
    QString text = QString::fromUtf8(c.text ? c.text : "");
    QWidget* w = nullptr;
    switch (c.kind) {
    case ControlKind::label:
        w = new QLabel(text, this);
        break;
    case ControlKind::group_box:
        w = new QGroupBox(text, this);
        break;
    case ControlKind::push_button: {
        auto* b = new QPushButton(text, this);
        b->setAutoDefault(false);
        w = b;
        break;
    }
    case ControlKind::check_box:
        w = new QCheckBox(text, this);
        break;
    case ControlKind::edit: {
        auto* e = new QLineEdit(text, this);
        if (c.style & style_digits_only)
            e->setValidator(
                new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), e));
        if (c.style & style_right_align)
            e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        e->setFrame(c.style & style_border);
        e->installEventFilter(this);
        w = e;
        break;
    }
    case ControlKind::combo_box: {
        auto* combo = new QComboBox(this);
        combo->setMaxVisibleItems(
            std::max(1, r.height() / std::max(1, combo->sizeHint().height())));
        // The template height is that of the opened list; the closed box is one row.
        r.setHeight(combo->sizeHint().height());
        w = combo;
        break;
    }
    case ControlKind::tab_control:
        w = make_tab_control(this, r);
        break;
    }
    w->setGeometry(r);
    if (c.kind == ControlKind::push_button || c.kind == ControlKind::check_box ||
        c.kind == ControlKind::edit)
        w->setFocusPolicy((c.style & style_tab_stop) || c.kind == ControlKind::edit
                              ? Qt::StrongFocus
                              : Qt::ClickFocus);
    w->setProperty("meshlook_id", c.id);
    return w;
}

// Only user-originated signals reach the procedure; the setters below block the rest.
void QtDialog::connect_control(const ControlTemplate& c, QWidget* widget) {
    int id = c.id;
    if (auto* b = as<QPushButton>(widget))
        connect(b, &QPushButton::clicked, this,
                [this, id] { procedure_->command(id, NOTIFY_CLICKED); });
    if (auto* box = as<QCheckBox>(widget))
        connect(box, &QCheckBox::clicked, this,
                [this, id] { procedure_->command(id, NOTIFY_CLICKED); });
    if (auto* combo = as<QComboBox>(widget))
        connect(combo, &QComboBox::activated, this,
                [this, id] { procedure_->command(id, NOTIFY_SELECTION_CHANGED); });
    if (QTabBar* bar = tab_bar_of(widget))
        connect(bar, &QTabBar::currentChanged, this,
                [this, id] { procedure_->command(id, NOTIFY_SELECTION_CHANGED); });
}

bool QtDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut &&
        static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
        int id = watched->property("meshlook_id").toInt();
        procedure_->command(id, NOTIFY_LOST_FOCUS);
    }
    return QWidget::eventFilter(watched, event);
}

void QtDialog::closeEvent(QCloseEvent* event) {
    // The owner decides: the procedure asks it to destroy this window.
    event->ignore();
    procedure_->close();
}

void QtDialog::start() {
    show();
    procedure_->init(INIT_FULL);
}

QWidget* QtDialog::control(int id) const {
    auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second;
}

void QtDialog::set_text(int id, const std::string& text) {
    QWidget* w = control(id);
    QString s = QString::fromUtf8(text.c_str());
    QSignalBlocker block(w);
    if (auto* e = as<QLineEdit>(w))
        e->setText(s);
    else if (auto* l = as<QLabel>(w))
        l->setText(s);
    else if (auto* b = as<QAbstractButton>(w))
        b->setText(s);
    else if (auto* g = as<QGroupBox>(w))
        g->setTitle(s);
}

std::string QtDialog::text(int id, int max_chars) const {
    QWidget* w = control(id);
    QString s;
    if (auto* e = as<QLineEdit>(w))
        s = e->text();
    else if (auto* l = as<QLabel>(w))
        s = l->text();
    else if (auto* b = as<QAbstractButton>(w))
        s = b->text();
    else if (auto* combo = as<QComboBox>(w))
        s = combo->currentText();
    return s.left(std::max(0, max_chars)).toStdString();
}

void QtDialog::enable(int id, bool enabled) {
    if (QWidget* w = control(id))
        w->setEnabled(enabled);
}

bool QtDialog::enabled(int id) const {
    QWidget* w = control(id);
    return w && w->isEnabled();
}

void QtDialog::check(int id, bool checked) {
    if (auto* b = as<QCheckBox>(control(id))) {
        QSignalBlocker block(b);
        b->setChecked(checked);
    }
}

bool QtDialog::checked(int id) const {
    auto* b = as<QCheckBox>(control(id));
    return b && b->isChecked();
}

void QtDialog::clear_rows(int id) {
    QWidget* w = control(id);
    if (auto* combo = as<QComboBox>(w)) {
        QSignalBlocker block(combo);
        combo->clear();
    } else if (QTabBar* bar = tab_bar_of(w)) {
        QSignalBlocker block(bar);
        while (bar->count() > 0)
            bar->removeTab(0);
    }
}

void QtDialog::add_row(int id, const std::string& text) {
    QWidget* w = control(id);
    QString s = QString::fromUtf8(text.c_str());
    if (auto* combo = as<QComboBox>(w)) {
        QSignalBlocker block(combo);
        combo->addItem(s);
        combo->setCurrentIndex(-1); // adding selects nothing, as in a list box
    } else if (QTabBar* bar = tab_bar_of(w)) {
        QSignalBlocker block(bar);
        int current = bar->count() == 0 ? -1 : bar->currentIndex();
        bar->addTab(s);
        if (current >= 0)
            bar->setCurrentIndex(current);
        // An empty bar has no height; it grows with its first tab.
        bar->resize(w->width(), bar->sizeHint().height());
    }
}

int QtDialog::row_count(int id) const {
    QWidget* w = control(id);
    if (auto* combo = as<QComboBox>(w))
        return combo->count();
    if (QTabBar* bar = tab_bar_of(w))
        return bar->count();
    return 0;
}

void QtDialog::select_row(int id, int row) {
    QWidget* w = control(id);
    if (auto* combo = as<QComboBox>(w)) {
        QSignalBlocker block(combo);
        combo->setCurrentIndex(row >= 0 && row < combo->count() ? row : -1);
    } else if (QTabBar* bar = tab_bar_of(w)) {
        QSignalBlocker block(bar);
        if (row >= 0 && row < bar->count())
            bar->setCurrentIndex(row);
    }
}

int QtDialog::selected_row(int id) const {
    QWidget* w = control(id);
    if (auto* combo = as<QComboBox>(w))
        return combo->currentIndex();
    if (QTabBar* bar = tab_bar_of(w))
        return bar->currentIndex();
    return -1;
}
