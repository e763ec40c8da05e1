#pragma once

class QWidget;

// The QC form, made with the program's point database, logon state, data directory, release
// text and program folder.
QWidget* MakeQCFormWindow();
