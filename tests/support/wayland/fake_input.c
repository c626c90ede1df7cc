// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

// A pointer and a keyboard for the tests on KWin, made through KDE's fake
// input protocol (KWin offers neither the wlr virtual pointer nor the
// virtual keyboard): the compositor handles its events as a hand's. Takes
// the pointer's commands of input_commands.h, and the keyboard's:
//   type TEXT     types TEXT (lower-case letters, digits and spaces)
//   key NAME      presses and releases Return or Escape
// Usage: fake-input

#include <linux/input-event-codes.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <wayland-client.h>

#include "fake-input-client-protocol.h"
#include "input_commands.h"

static struct org_kde_kwin_fake_input *input;

static void global(void *data, struct wl_registry *registry, uint32_t name, const char *interface, uint32_t version)
{
    (void)data;
    if (strcmp(interface, org_kde_kwin_fake_input_interface.name) == 0 && version >= 4)
        input = wl_registry_bind(registry, name, &org_kde_kwin_fake_input_interface, 4);
}

static void button(uint32_t state)
{
    org_kde_kwin_fake_input_button(input, BTN_LEFT, state);
}

static void key(uint32_t code)
{
    org_kde_kwin_fake_input_keyboard_key(input, code, WL_KEYBOARD_KEY_STATE_PRESSED);
    org_kde_kwin_fake_input_keyboard_key(input, code, WL_KEYBOARD_KEY_STATE_RELEASED);
}

// The key that types c on a US layout, or 0.
static uint32_t key_for(char c)
{
    static const uint32_t letters[] = {KEY_A, KEY_B, KEY_C, KEY_D, KEY_E, KEY_F, KEY_G, KEY_H, KEY_I,
                                       KEY_J, KEY_K, KEY_L, KEY_M, KEY_N, KEY_O, KEY_P, KEY_Q, KEY_R,
                                       KEY_S, KEY_T, KEY_U, KEY_V, KEY_W, KEY_X, KEY_Y, KEY_Z};
    static const uint32_t digits[] = {KEY_0, KEY_1, KEY_2, KEY_3, KEY_4, KEY_5, KEY_6, KEY_7, KEY_8, KEY_9};
    if (c >= 'a' && c <= 'z')
        return letters[c - 'a'];
    if (c >= '0' && c <= '9')
        return digits[c - '0'];
    return c == ' ' ? KEY_SPACE : 0;
}

static void move(unsigned x, unsigned y)
{
    org_kde_kwin_fake_input_pointer_motion_absolute(input, wl_fixed_from_int((int)x), wl_fixed_from_int((int)y));
}

// Runs one of the keyboard's commands; 0 if the line is none.
static int run_key_command(const char *line)
{
    char text[200];
    if (sscanf(line, "type %199[^\n]", text) == 1) {
        for (const char *c = text; *c; ++c) {
            if (!key_for(*c))
                return 0;
        }
        for (const char *c = text; *c; ++c)
            key(key_for(*c));
    } else if (strcmp(line, "key Return\n") == 0) {
        key(KEY_ENTER);
    } else if (strcmp(line, "key Escape\n") == 0) {
        key(KEY_ESC);
    } else {
        return 0;
    }
    return 1;
}

int main(void)
{
    struct wl_display *display = wl_display_connect(NULL);
    if (!display) {
        fprintf(stderr, "fake-input: no Wayland compositor\n");
        return 1;
    }
    static const struct wl_registry_listener listener = {global, ignore_global_remove};
    struct wl_registry *registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &listener, NULL);
    wl_display_roundtrip(display);
    if (!input) {
        fprintf(stderr, "fake-input: the compositor offers no org_kde_kwin_fake_input (version 4) to this client\n");
        return 1;
    }
    // KWin drops the events of a device that has not asked for them.
    org_kde_kwin_fake_input_authenticate(input, "Marlowick tests", "drives the pointer and keys in the tests");
    wl_display_roundtrip(display);
    static const struct input_device device = {move, button, run_key_command};
    if (serve_input_commands(display, &device))
        return 1;
    org_kde_kwin_fake_input_destroy(input);
    wl_display_roundtrip(display);
    wl_display_disconnect(display);
    return 0;
}
