#pragma once

// While the program waits on an appliance (a login, a page read, a command,
// an upload): the busy cursor shows, and what the user clicks or types
// meanwhile is dropped, also what queued up while the window could not
// answer, so a second press starts no second login or command. Boxes shown
// during the wait take input as usual. Waits may nest.
class BusyWait {
public:
    BusyWait();
    ~BusyWait();
    BusyWait(const BusyWait&) = delete;
    BusyWait& operator=(const BusyWait&) = delete;

    // True when another wait was already running: the caller is a press
    // that slipped in during it.
    bool nested() const { return nested_; }

private:
    bool nested_;
};
