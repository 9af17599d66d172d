#pragma once
// The program's string table: every text the user sees, by its numeric id.
#include <QString>

// Raises error 326 when the table holds no text of that id.
QString LoadResString(int id);
