#pragma once

// The settings file a first install holds (package/TinStarWarden/TinStarWarden.ini), byte for
// byte with its CR LF line ends: built into the plug-in, which writes it when it is missing,
// and into the simulator, whose fresh game folder starts with it.
extern const char SHIPPED_SETTINGS[];
