#include "shell/qt_translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QString>
#include <QTranslator>

namespace torvanik {
namespace {

bool Install(QCoreApplication& app, const QString& name, const QString& folder) {
    auto* translator = new QTranslator(&app);
    if (translator->load(name, folder) && QCoreApplication::installTranslator(translator)) {
        return true;
    }
    delete translator;
    return false;
}

}  // namespace

bool InstallNorwegianQtTranslation(QCoreApplication& app) {
    // The translation installed last is asked first.
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const char* name : {"qtbase_nb", "qtbase_no", "qtbase_nn"}) {
        if (Install(app, QString::fromLatin1(name), folder)) {
            break;
        }
    }
    return Install(app, QStringLiteral("qtbase_nb"), QStringLiteral(":/translations"));
}

}  // namespace torvanik
