// Modal message boxes with an OK button.
#include "ui/platform/qt_box_presenter.h"

#include <QMessageBox>

void QtBoxPresenter::present(const char* caption, const char* text, BoxIcon icon) {
    QMessageBox::Icon qt_icon = QMessageBox::NoIcon;
    if (icon == BoxIcon::information)
        qt_icon = QMessageBox::Information;
    else if (icon == BoxIcon::error)
        qt_icon = QMessageBox::Critical;
    QMessageBox box(qt_icon, QString::fromUtf8(caption), QString::fromUtf8(text), QMessageBox::Ok,
                    owner_.data());
    box.exec();
}
