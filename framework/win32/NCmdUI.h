#pragma once
// The state an update handler gives a command: enabled and checked. The menu
// or toolbar that asked applies it afterwards, so a handler never needs to
// know where the command is shown.
#include <cstdint>

struct NCmdUI {
    explicit NCmdUI(uint32_t command) : id(command) {}

    void Enable(bool on = true) { enabled = on; }
    void SetCheck(bool on = true) { checked = on; }

    uint32_t id;
    bool enabled = true;
    bool checked = false;
};
