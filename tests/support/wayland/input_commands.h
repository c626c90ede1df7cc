// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

// What the tests' input devices share, whichever protocol makes the device:
// they read commands from stdin, one a line, and answer each with "ok" once
// the compositor has handled it ("unknown command: ..." for any other line).
// The pointer's commands:
//   move X Y      the pointer to X,Y of the layout (absolute)
//   press, release, click    the left button
//   click X Y     moves there and clicks at once, in one go
#pragma once

#include <stdint.h>
#include <stdio.h>
#include <string.h>
#include <wayland-client.h>

struct input_device {
    void (*move)(unsigned x, unsigned y);
    // The left button, WL_POINTER_BUTTON_STATE_PRESSED or _RELEASED.
    void (*button)(uint32_t state);
    // Runs a command of the device's own; 0 if the line is none. May be NULL.
    int (*run_other)(const char *line);
};

static inline int run_pointer_command(const struct input_device *device, const char *line)
{
    unsigned x = 0, y = 0;
    if (sscanf(line, "click %u %u", &x, &y) == 2) {
        device->move(x, y);
        device->button(WL_POINTER_BUTTON_STATE_PRESSED);
        device->button(WL_POINTER_BUTTON_STATE_RELEASED);
    } else if (sscanf(line, "move %u %u", &x, &y) == 2) {
        device->move(x, y);
    } else if (strncmp(line, "press", 5) == 0) {
        device->button(WL_POINTER_BUTTON_STATE_PRESSED);
    } else if (strncmp(line, "release", 7) == 0) {
        device->button(WL_POINTER_BUTTON_STATE_RELEASED);
    } else if (strncmp(line, "click", 5) == 0) {
        device->button(WL_POINTER_BUTTON_STATE_PRESSED);
        device->button(WL_POINTER_BUTTON_STATE_RELEASED);
    } else {
        return device->run_other && device->run_other(line);
    }
    return 1;
}

// Says "ready", then serves stdin's commands until it ends; 1 if the
// connection to the compositor broke.
static inline int serve_input_commands(struct wl_display *display, const struct input_device *device)
{
    setvbuf(stdout, NULL, _IOLBF, 0);
    printf("ready\n");
    char line[256];
    while (fgets(line, sizeof line, stdin)) {
        if (!run_pointer_command(device, line)) {
            printf("unknown command: %s", line);
            continue;
        }
        if (wl_display_roundtrip(display) < 0)
            return 1;
        printf("ok\n");
    }
    return 0;
}

// For registry listeners: the tests' devices outlive no global.
static inline void ignore_global_remove(void *data, struct wl_registry *registry, uint32_t name)
{
    (void)data;
    (void)registry;
    (void)name;
}
