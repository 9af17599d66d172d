#pragma once
// The logo types in the order of the category lists (strings 190 to 198): folder code, size in
// pixels and kind. The program and the gallery generator (tools/logogen) read this one table.
namespace Logotypen {

// The kind of logo, as the phone link takes it (Logo_Art).
enum Art : short { Betreiberlogo = 0, Gruppenlogo = 1, Startuplogo = 2 };

struct Typ {
    const char* code;
    short breite, hoehe;
    Art art;
};

inline constexpr Typ kTypen[9] = {
    {"SB_S25", 97, 26, Betreiberlogo},   {"SB_CM35", 101, 21, Betreiberlogo}, {"SB_S35", 101, 43, Betreiberlogo},
    {"NSL7110", 96, 65, Startuplogo},    {"NSL6210", 96, 60, Startuplogo},    {"NSLXXXX", 84, 48, Startuplogo},
    {"NGLXXXX", 72, 14, Gruppenlogo},    {"NBLXXXX", 72, 14, Betreiberlogo},  {"NBL62_71", 72, 21, Betreiberlogo},
};

} // namespace Logotypen
