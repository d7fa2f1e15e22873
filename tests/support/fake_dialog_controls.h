// A DialogControls without widgets, for tests of dialog procedures: it keeps each control's
// text, enabled and check state and rows; an ID that its template lacks throws, failing the test.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "ui/platform/dialog_controls.h"
#include "ui/platform/dialog_template.h"

class FakeDialogControls : public DialogControls {
  public:
    struct Control {
        ControlKind kind = ControlKind::label;
        std::string text;
        bool enabled = true;
        bool checked = false;
        std::vector<std::string> rows;
        int selected = -1;
    };

    explicit FakeDialogControls(const DialogTemplate& tmpl) {
        for (const ControlTemplate& c : tmpl.controls)
            if (c.id != NO_ID) {
                controls_[c.id].kind = c.kind;
                controls_[c.id].text = c.kind == ControlKind::edit ? "" : c.text;
            }
    }

    void set_text(int id, const std::string& text) override { controls_.at(id).text = text; }
    std::string text(int id, int max_chars) const override {
        const Control& c = controls_.at(id);
        std::string s = c.kind == ControlKind::combo_box
                            ? (c.selected >= 0 ? c.rows[c.selected] : std::string())
                            : c.text;
        return s.substr(0, max_chars < 0 ? 0 : static_cast<size_t>(max_chars));
    }
    void enable(int id, bool enabled) override { controls_.at(id).enabled = enabled; }
    bool enabled(int id) const override { return controls_.at(id).enabled; }
    void check(int id, bool checked) override {
        if (controls_.at(id).kind == ControlKind::check_box)
            controls_.at(id).checked = checked;
    }
    bool checked(int id) const override { return controls_.at(id).checked; }
    void clear_rows(int id) override {
        controls_.at(id).rows.clear();
        controls_.at(id).selected = -1;
    }
    void add_row(int id, const std::string& text) override {
        Control& c = controls_.at(id);
        c.rows.push_back(text);
        // A tab control always shows one tab; a combo box selects nothing by adding.
        if (c.kind == ControlKind::tab_control && c.selected < 0)
            c.selected = 0;
    }
    int row_count(int id) const override { return static_cast<int>(controls_.at(id).rows.size()); }
    void select_row(int id, int row) override {
        Control& c = controls_.at(id);
        if (row >= 0 && row < static_cast<int>(c.rows.size()))
            c.selected = row;
        else if (c.kind == ControlKind::combo_box)
            c.selected = -1;
    }
    int selected_row(int id) const override { return controls_.at(id).selected; }
    // The texts of ids, each followed by a space.
    std::string texts(std::initializer_list<int> ids) const {
        std::string s;
        for (int id : ids)
            s += text(id, 100) + " ";
        return s;
    }
    const Control& control(int id) const { return controls_.at(id); }

  private:
    std::map<int, Control> controls_;
};
