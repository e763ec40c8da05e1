// Configuration files (open, save, save as).
// These flows come with the configuration-file work; until then the buttons do nothing.
#include "formmain.h"

void TFormMain::tbtnOpenClick() {}
void TFormMain::tbtnSaveClick() {}
void TFormMain::tbtnSaveAsClick() {}
