// A DialogHost without widgets, for procedure tests: each window is a FakeDialogControls of
// its template driving its procedure, and every request of the procedures is logged. Includes
// what the dialog tests use: the store, the view state and the commands.
#pragma once

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "state/polymodel.h"
#include "state/view_state.h"
#include "tests/support/fake_dialog_controls.h"
#include "tests/support/test_globals.h"
#include "ui/commands.h"
#include "ui/control_ids.h"
#include "ui/main_window_link.h"
#include "ui/platform/dialog_host.h"
#include "ui/templates.h"
#include "ui/view_input.h"

class FakeDialogWindow : public DialogWindow {
  public:
    FakeDialogWindow(int template_id, std::unique_ptr<DialogProcedure> procedure,
                     FakeDialogWindow* parent)
        : template_id(template_id), parent(parent), controls(*find_dialog_template(template_id)),
          procedure(std::move(procedure)) {
        this->procedure->bind(&controls, this);
    }
    void init(int code) override { procedure->init(code); }

    int template_id;
    FakeDialogWindow* parent;
    FakeDialogControls controls;
    std::unique_ptr<DialogProcedure> procedure;
    int x = 0, y = 0;
    bool destroyed = false;
};

class FakeDialogHost : public DialogHost {
  public:
    DialogWindow* open_window(int template_id,
                              std::unique_ptr<DialogProcedure> procedure) override {
        return start(template_id, std::move(procedure), nullptr);
    }
    DialogWindow* open_page(DialogWindow& parent, int template_id,
                            std::unique_ptr<DialogProcedure> procedure) override {
        return start(template_id, std::move(procedure), dynamic_cast<FakeDialogWindow*>(&parent));
    }
    void move_page(DialogWindow& page, int x, int y) override {
        auto& w = dynamic_cast<FakeDialogWindow&>(page);
        w.x = x;
        w.y = y;
        log.push_back("move " + std::to_string(w.template_id));
    }
    void destroy(DialogWindow* window) override {
        if (auto* w = dynamic_cast<FakeDialogWindow*>(window)) {
            EXPECT_FALSE(w->destroyed) << "destroyed twice";
            w->destroyed = true;
            log.push_back("destroy " + std::to_string(w->template_id));
        }
    }
    DialogWindow* active_window() const override { return active; }
    void activate(DialogWindow* window) override {
        active = window;
        log.push_back(window ? "activate dialog" : "activate main");
    }

    // The windows opened so far, in order; destroyed ones stay, flagged.
    std::vector<std::unique_ptr<FakeDialogWindow>> windows;
    std::vector<std::string> log;
    DialogWindow* active = nullptr;

  private:
    DialogWindow* start(int template_id, std::unique_ptr<DialogProcedure> procedure,
                        FakeDialogWindow* parent) {
        windows.push_back(
            std::make_unique<FakeDialogWindow>(template_id, std::move(procedure), parent));
        FakeDialogWindow* w = windows.back().get();
        log.push_back("open " + std::to_string(template_id));
        w->init(0);
        return w;
    }
};

// A main window that records the commands and timer calls the dialogs send it.
class FakeMainWindow : public MainWindowLink {
  public:
    void command(int id) override { commands.push_back(id); }
    void start_spin_timer() override { timer_running = true; }
    void kill_spin_timer() override { timer_running = false; }
    std::vector<int> commands;
    bool timer_running = false;
};

// Base of the procedure tests: fresh globals, the fake host installed, Main linked as the main
// window; the commands and control IDs at hand.
template <class Main = FakeMainWindow> class DialogTest : public CoreTest {
  protected:
    void SetUp() override {
        CoreTest::SetUp();
        install_dialog_host(&host);
        view.main_window = &main;
    }
    void TearDown() override {
        install_dialog_host(nullptr);
        CoreTest::TearDown();
    }

    FakeDialogHost host;
    Main main;
};
