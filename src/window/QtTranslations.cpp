#include "QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>

std::unique_ptr<QTranslator> InstallQtTranslations(int langType) {
    if (langType != 2) {
        return nullptr;
    }
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(QStringLiteral("qtbase_zh_CN"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(translator.get())) {
        return nullptr;
    }
    return translator;
}
