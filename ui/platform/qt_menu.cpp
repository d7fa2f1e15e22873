// Menu bar construction from a menu template.
#include "ui/platform/qt_menu.h"

#include <QMenu>
#include <QToolButton>
#include <algorithm>
#include <vector>

std::map<int, QAction*> build_menu_bar(QMenuBar* bar, std::span<const MenuItemTemplate> items,
                                       std::span<const int> checkable_ids,
                                       const std::function<void(int)>& on_command) {
    std::map<int, QAction*> actions;
    std::vector<QMenu*> open_menus; // open_menus[d] receives the rows of depth d + 1
    for (const MenuItemTemplate& item : items) {
        open_menus.resize(item.depth);
        QMenu* parent = item.depth == 0 ? nullptr : open_menus.back();
        QString text = QString::fromUtf8(item.text ? item.text : "");
        switch (item.kind) {
        case MenuKind::popup: {
            QMenu* menu = parent ? parent->addMenu(text) : bar->addMenu(text);
            open_menus.push_back(menu);
            break;
        }
        case MenuKind::separator:
            if (parent)
                parent->addSeparator();
            break;
        case MenuKind::command: {
            auto* action = new QAction(text, bar);
            int id = item.id;
            action->setCheckable(std::find(checkable_ids.begin(), checkable_ids.end(), id) !=
                                 checkable_ids.end());
            QObject::connect(action, &QAction::triggered, bar,
                             [on_command, id] { on_command(id); });
            if (parent) {
                parent->addAction(action);
            } else if (item.right_aligned) {
                // A command on the bar itself at the right end, beside the pop-up titles.
                auto* button = new QToolButton(bar);
                button->setDefaultAction(action);
                button->setAutoRaise(true);
                bar->setCornerWidget(button, Qt::TopRightCorner);
            } else {
                bar->addAction(action);
            }
            actions[id] = action;
            break;
        }
        }
    }
    return actions;
}
