#pragma once

class QApplication;

// Makes the toolkit's own words Italian and maps the window's font faces onto
// metric-compatible ones that Debian ships.
namespace ItalianToolkit {
void install(QApplication &app);
}
