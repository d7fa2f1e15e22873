// QtDialog windows and pages made, placed, activated and removed for the procedures.
#include "ui/platform/qt_dialog_host.h"

#include <QApplication>

#include "ui/platform/qt_dialog.h"
#include "ui/templates.h"

namespace {

QtDialog* as_qt(DialogWindow* window) {
    return dynamic_cast<QtDialog*>(window);
}

DialogWindow* start(const DialogTemplate* tmpl, std::unique_ptr<DialogProcedure> procedure,
                    QWidget* owner) {
    if (!tmpl)
        return nullptr;
    auto* dialog = new QtDialog(*tmpl, std::move(procedure), owner);
    dialog->start();
    return dialog;
}

} // namespace

DialogWindow* QtDialogHost::open_window(int template_id,
                                        std::unique_ptr<DialogProcedure> procedure) {
    return start(find_dialog_template(template_id), std::move(procedure), &owner_);
}

DialogWindow* QtDialogHost::open_page(DialogWindow& parent, int template_id,
                                      std::unique_ptr<DialogProcedure> procedure) {
    return start(find_dialog_template(template_id), std::move(procedure), as_qt(&parent));
}

void QtDialogHost::move_page(DialogWindow& page, int x, int y) {
    if (QtDialog* dialog = as_qt(&page))
        dialog->move(x, y);
}

void QtDialogHost::destroy(DialogWindow* window) {
    if (QtDialog* dialog = as_qt(window)) {
        dialog->hide();
        dialog->deleteLater();
    }
}

DialogWindow* QtDialogHost::active_window() const {
    return dynamic_cast<QtDialog*>(QApplication::activeWindow());
}

void QtDialogHost::activate(DialogWindow* window) {
    QWidget* target = window ? as_qt(window) : &owner_;
    if (target)
        target->activateWindow();
}
