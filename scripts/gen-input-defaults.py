#!/usr/bin/env python3
"""Writes src/input/default_mappings.cpp from a fresh mednafen.cfg.

Make the file with the emulator itself:
    mkdir /tmp/fresh && MEDNAFEN_HOME=/tmp/fresh SDL_VIDEODRIVER=dummy \
        SDL_AUDIODRIVER=dummy /usr/games/mednafen
    scripts/gen-input-defaults.py /tmp/fresh/mednafen.cfg > src/input/default_mappings.cpp
"""
import re
import sys

DEVICES = ["gamepad", "3dpad", "mouse", "wheel", "mission", "dmission", "gun", "keyboard",
           "jpkeyboard"]
# Pads list their buttons the way the pad is laid out; the rest keep the emulator's order.
ORDER = {
    "gamepad": "up down left right start a b c x y z ls rs".split(),
    "3dpad": ("up down left right start a b c x y z ls rs analog_up analog_down analog_left "
              "analog_right mode").split(),
}


def c_string(text):
    return '"' + text.replace("\\", "\\\\").replace('"', '\\"') + '"'


def main(path):
    comment = None
    settings = {}  # name -> (comment, value)
    order = []
    with open(path, encoding="utf-8") as f:
        for raw in f:
            line = raw.rstrip("\r\n")
            if line.startswith(";"):
                comment = line[1:]
                continue
            if not line:
                continue
            name, _, value = line.partition(" ")
            settings[name] = (comment or "", value)
            order.append(name)
            comment = None

    out = ["// The emulator's default input mappings, as a fresh mednafen.cfg of Debian's mednafen",
           "// 1.29 holds them. Written by scripts/gen-input-defaults.py; do not edit by hand.",
           "",
           '#include "input/default_mappings.h"',
           "",
           "namespace input {",
           "",
           "namespace {",
           "",
           "// clang-format off"]
    for device in DEVICES:
        prefix1 = "ss.input.port1.%s." % device
        prefix2 = "ss.input.port2.%s." % device
        names = []
        for name in order:
            if not name.startswith(prefix1):
                continue
            note, _ = settings[name]
            if not note.startswith("ss, Virtual Port 1, "):
                continue  # a switch's default position, not a mapping
            names.append(name[len(prefix1):])
        if device in ORDER:
            assert sorted(ORDER[device]) == sorted(names), device
            names = ORDER[device]
        ident = "b_" + device
        out.append("const ButtonDefault %s[] = {" % ident)
        for button in names:
            note, first = settings[prefix1 + button]
            label = note.split(": ", 1)[1].rstrip()
            other = settings[prefix2 + button][1]
            out.append("    {%s, %s, %s, %s}," % (c_string(button), c_string(label),
                                                c_string(first), c_string(other)))
        out.append("};")
    out.append("const CommandDefault commands[] = {")
    for name in order:
        if name.startswith("command.") and "keyboard" in settings[name][1]:
            note, value = settings[name]
            out.append("    {%s, %s, %s}," % (c_string(name[len("command."):]),
                                              c_string(note.strip()), c_string(value)))
    out.append("};")
    out.append("// clang-format on")
    out.append("")
    out.append("} // namespace")
    out.append("")
    out.append("std::span<const ButtonDefault> defaultButtons(const QString& device) {")
    for device in DEVICES:
        out.append('    if (device == QLatin1String("%s"))' % device)
        out.append("        return b_%s;" % device)
    out.append("    return {};")
    out.append("}")
    out.append("")
    out.append("std::span<const CommandDefault> defaultCommands() {")
    out.append("    return commands;")
    out.append("}")
    out.append("")
    out.append("} // namespace input")
    print("\n".join(out))


main(sys.argv[1])
