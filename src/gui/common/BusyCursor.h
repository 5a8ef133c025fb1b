#pragma once

// Shows the busy cursor for its lifetime, so file work restores the normal cursor on every path
// out of a handler, an early return or an exception included.
namespace qloom::gui {

class BusyCursor {
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

} // namespace qloom::gui
