// The Edit Window frame: tabs inserted once, the page of the chosen tab created in place of
// the old one, and "Show Location" / "Show All Points", never both on.
#include "ui/edit_window.h"

#include <memory>

#include "state/view_state.h"
#include "ui/battery_page.h"
#include "ui/control_ids.h"
#include "ui/main_window_link.h"
#include "ui/platform/dialog_host.h"
#include "ui/point_page.h"
#include "ui/special_page.h"
#include "ui/submodel_page.h"
#include "ui/templates.h"

namespace {

struct Tab {
    const char* label;
    int page_template;
};

constexpr Tab tabs[EDIT_TAB_COUNT] = {{"GPNT", DIALOG_POINT_PAGE},   {"GRND", DIALOG_POINT_PAGE},
                                      {"ATCH", DIALOG_POINT_PAGE},   {"NATH", DIALOG_POINT_PAGE},
                                      {"SPCL", DIALOG_SPECIAL_PAGE}, {"WBAT", DIALOG_BATTERY_PAGE},
                                      {"SOBJ", DIALOG_SUBMODEL_PAGE}};

constexpr int PAGE_X = 20, PAGE_Y = 40; // pixels of the Edit Window's client area

// The procedure of a tab's page.
std::unique_ptr<DialogProcedure> page_procedure(uint32_t tab) {
    if (tab < POINT_TABLE_TABS)
        return std::make_unique<PointPageProcedure>(tab);
    if (tab == SPECIAL_POINT_TAB)
        return std::make_unique<SpecialPageProcedure>();
    if (tab == BATTERY_TAB)
        return std::make_unique<BatteryPageProcedure>();
    return std::make_unique<SubmodelPageProcedure>();
}

uint32_t shown_tab() {
    return view.edit_tab < EDIT_TAB_COUNT ? view.edit_tab : 0;
}

} // namespace

void EditWindowProcedure::init(int) {
    DialogHost* host = dialog_host();
    view.edit_window = &window();
    DialogWindow* active = host ? host->active_window() : nullptr;
    show_switches();
    if (controls().row_count(EW_TABS) == 0)
        for (const Tab& tab : tabs)
            controls().add_row(EW_TABS, tab.label);
    uint32_t tab = shown_tab();
    controls().select_row(EW_TABS, static_cast<int>(tab));
    if (host) {
        if (view.edit_page_window)
            host->destroy(view.edit_page_window);
        view.edit_page_window =
            host->open_page(window(), tabs[tab].page_template, page_procedure(tab));
        if (view.edit_page_window)
            host->move_page(*view.edit_page_window, PAGE_X, PAGE_Y);
        host->activate(active); // switching tabs keeps the focus where the user was
    }
    request_redraw();
}

void EditWindowProcedure::command(int id, int) {
    switch (id) {
    case EW_TABS: {
        int row = controls().selected_row(EW_TABS);
        if (row >= 0 && static_cast<uint32_t>(row) != view.edit_tab) {
            view.edit_tab = static_cast<uint32_t>(row);
            init(0);
        }
        return;
    }
    case EW_SHOW_LOCATION:
        view.show_location = !view.show_location;
        if (view.show_location)
            view.show_all_points = 0;
        show_switches();
        return request_redraw();
    case EW_SHOW_ALL_POINTS:
        view.show_all_points = !view.show_all_points;
        if (view.show_all_points)
            view.show_location = 0;
        show_switches();
        return request_redraw();
    default:
        return;
    }
}

// The page goes first, then the main window closes the Edit Window through its command.
void EditWindowProcedure::close() {
    if (view.edit_page_window && dialog_host())
        dialog_host()->destroy(view.edit_page_window);
    view.edit_page_window = nullptr;
    send_main_command(CMD_EDIT_WINDOW);
}

void EditWindowProcedure::show_switches() {
    controls().check(EW_SHOW_ALL_POINTS, view.show_all_points != 0);
    controls().check(EW_SHOW_LOCATION, view.show_location != 0);
}

void EditWindowProcedure::request_redraw() {
    view.refresh_only = 1;
    send_main_command(CMD_REFRESH);
}
