#pragma once
// The program's version record and installation texts (the runtime's App object).
#include <QString>

namespace App {
// Program title: names the databases, the help file and documents, titles the boxes
// of start-up and shutdown and is written to the admin row while the program runs.
inline QString Title() { return QStringLiteral("TREMOL"); }
inline QString ProductName() { return QStringLiteral("Tremola"); }
inline QString HelpFile() { return QStringLiteral("TREMOL.html"); }
inline QString ReadMeFile() { return QStringLiteral("TREMOL.odt"); }
inline QString NotesFile() { return QStringLiteral("TREMOL_H.odt"); }
// The developers' names.
inline QString LegalTrademarks() { return QStringLiteral("TREMOL-Entwicklungsteam der Stratega-Programmgruppe"); }
inline QString LegalCopyright() { return QStringLiteral("Copyright (C) 2003-2026 Stratega-Programmgruppe"); }
// The frame program of the suite, in the parent folder of the program folder.
inline QString FrameProgram() { return QStringLiteral("KALMARO"); }
}
