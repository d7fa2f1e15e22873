// The point-list page of the Edit Window: the gun, ground, attach or NATH points, one record at a
// time, with the current index shared by the four tables.
#pragma once

#include <cstdint>

#include "state/polymodel.h"
#include "ui/platform/dialog_controls.h"

constexpr uint32_t POINT_TABLE_TABS = 4; // Edit Window tabs 0..3

// The table of tab 0 "GPNT", 1 "GRND", 2 "ATCH" or 3 "NATH" and its count.
struct PointTable {
    uint32_t& count;
    PointList& list;
};
PointTable point_table(uint32_t tab);

class PointPageProcedure : public DialogProcedure {
  public:
    explicit PointPageProcedure(uint32_t tab) : table_(point_table(tab)) {}
    void init(int code) override;
    void command(int id, int notify) override;
    void close() override {}

  private:
    void show_record();
    void show_empty();
    void add_point();
    void delete_point();
    void take_value(int id);
    void take_submodel();

    PointTable table_;
};
