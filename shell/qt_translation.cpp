#include "shell/qt_translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QString>
#include <QTranslator>

namespace torvanik {

bool InstallNorwegianQtTranslation(QCoreApplication& app) {
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const char* name : {"qtbase_nb", "qtbase_no", "qtbase_nn"}) {
        auto* translator = new QTranslator(&app);
        if (translator->load(QString::fromLatin1(name), folder)) {
            return QCoreApplication::installTranslator(translator);
        }
        delete translator;
    }
    return false;
}

}  // namespace torvanik
