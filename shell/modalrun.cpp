#include "modalrun.h"

#include <QDialog>

namespace {
modal::Runner& runner()
{
    static modal::Runner instance;
    return instance;
}
}  // namespace

namespace modal {

int exec(QDialog& dialog)
{
    if (runner()) {
        // Each use starts from "cancelled", as exec() does, so a runner that presses nothing cancels.
        dialog.setResult(QDialog::Rejected);
        return runner()(dialog);
    }
    return dialog.exec();
}

void setRunner(Runner r)
{
    runner() = std::move(r);
}

}  // namespace modal
