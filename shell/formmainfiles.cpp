// Configuration files (open, save, save as) and the firmware upgrade started from the tool bar.
// These flows come with the configuration-file and upgrade work; until then the buttons do nothing.
#include "formmain.h"

void TFormMain::tbtnUpgradeClick() {}
void TFormMain::tbtnOpenClick() {}
void TFormMain::tbtnSaveClick() {}
void TFormMain::tbtnSaveAsClick() {}
