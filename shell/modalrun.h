#pragma once

#include <functional>

class QDialog;

// Every modal dialog of the program's own (logon, mode choice, password change) is run through
// here, so that tests can answer it without a blocking event loop.
namespace modal {

// Answers a dialog in place of the user: fills it, presses its buttons (done() ends it) and
// returns its result.
using Runner = std::function<int(QDialog& dialog)>;

// Runs the dialog modally (QDialog::exec) or, when one is installed, through the runner.
int exec(QDialog& dialog);
// Installs a runner for the process; an empty one restores exec().
void setRunner(Runner runner);

}  // namespace modal
