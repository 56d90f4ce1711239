#pragma once

#include <QIcon>

// The tool's 48 x 48 application icon: a handheld radio.
QIcon ApplicationIcon();
