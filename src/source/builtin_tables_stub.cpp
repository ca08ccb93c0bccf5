// Placeholder tables until the built-in scenario lands.
#include "source/builtin_tables.h"

namespace scenario {
namespace {
LineTable emptyTable() {
    LineTable t;
    t[0] = kEndSentinel;
    return t;
}
}  // namespace
LineTable lineSourceTable() {
    return emptyTable();
}
LineTable trainSourceTable() {
    return emptyTable();
}
LineTable trainCardTable() {
    return emptyTable();
}
LineTable slowOrderNoticeTable() {
    return emptyTable();
}
LineTable notesTable() {
    return emptyTable();
}
}  // namespace scenario
