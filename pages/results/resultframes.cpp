#include "resultframes.h"

#include <QPushButton>
#include <QVBoxLayout>

