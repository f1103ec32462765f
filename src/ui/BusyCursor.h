#pragma once
// The wait cursor for as long as a handler runs: restored however the handler ends, so an
// error or a stop never leaves the program showing it.
#include <QGuiApplication>

namespace pixoral {

struct BusyCursor {
    BusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

}  // namespace pixoral
