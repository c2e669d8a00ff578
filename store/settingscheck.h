#pragma once
// The settings file can be edited by hand: each value the settings windows check when it is set is
// checked again when it is read, and one they could never have stored falls back to its default.
namespace talik {

struct Settings;

void CheckReadSettings(Settings& settings);

// True when `comPort` is a port the settings window offers (COM1..COM5). The dialler is never
// started with any other: a hand-written 10 would reach the modem as COM1 with a "0" before ATDT.
bool UsableComPort(int comPort);

} // namespace talik
