#pragma once

#include <QTranslator>

#include <memory>

// Qt's own texts (the OK and Cancel of the message boxes) in the window's
// language: Qt's Chinese translations for LangType 2, installed into the
// application while the returned translator lives. Null for English, or when
// the translations are not installed (the buttons then stay English).
std::unique_ptr<QTranslator> InstallQtTranslations(int langType);
