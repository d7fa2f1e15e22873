// The record-number rule of every "+"/"-" field, on fake controls of the point page.
#include "tests/support/fake_dialog_controls.h"
#include "ui/control_ids.h"
#include "ui/number_field.h"
#include "ui/templates.h"

namespace {

constexpr NumberField field{PT_NUMBER, PT_PLUS, PT_MINUS};

TEST(NumberFieldTest, StepsFromTheTypedNumberClampsAndNeverWraps) {
    struct Case {
        const char* typed;
        int id, notify;
        uint32_t count, index;
        int64_t chosen; // -1: nothing chosen
        const char* shown;
    } cases[] = {
        {"5", PT_NUMBER, NOTIFY_LOST_FOCUS, 9, 0, 4, "5"},
        {"5", PT_NUMBER, NOTIFY_CLICKED, 9, 0, -1, "5"}, // typing alone does nothing
        {"007", PT_NUMBER, NOTIFY_LOST_FOCUS, 9, 6, -1, "7"},
        {"9", PT_PLUS, NOTIFY_CLICKED, 12, 3, 9, "9"},
        {"9", PT_PLUS, NOTIFY_CLICKED, 9, 3, 8, "9"},  // above the count: the count
        {"9", PT_PLUS, NOTIFY_CLICKED, 9, 8, 8, "9"},  // "+" at the last still chooses it
        {"1", PT_MINUS, NOTIFY_CLICKED, 9, 0, 0, "1"}, // "-" at 1 still chooses 1
        {"0", PT_NUMBER, NOTIFY_LOST_FOCUS, 9, 4, 0, "0"},
        {"-3", PT_NUMBER, NOTIFY_LOST_FOCUS, 9, 0, 8, "-3"}, // negative: the count
        {"abc", PT_NUMBER, NOTIFY_LOST_FOCUS, 9, 4, 0, "abc"},
        {"5", PT_NUMBER, NOTIFY_LOST_FOCUS, 0, 0, -1, "5"}, // empty list
        {"1234567890", PT_NUMBER, NOTIFY_LOST_FOCUS, 4000000000u, 0, 123456788, "1234567890"},
        {"3", PT_ADD, NOTIFY_CLICKED, 9, 0, -1, "3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.typed) + " id " + std::to_string(c.id));
        FakeDialogControls controls(*find_dialog_template(DIALOG_POINT_PAGE));
        controls.set_text(PT_NUMBER, c.typed);
        std::optional<uint32_t> got =
            choose_record(controls, field, c.id, c.notify, c.count, c.index);
        EXPECT_EQ(got ? int64_t(*got) : -1, c.chosen);
        EXPECT_EQ(controls.text(PT_NUMBER, 20), c.shown);
    }
}

} // namespace
