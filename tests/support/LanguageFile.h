#pragma once

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <string>

#include "app/CurrentDevice.h"

// A language file in a private working folder, translation on, for as long
// as the guard lives. The folder and the translation switch come back at its
// end, even when a check fails and leaves the test early, so no later test
// runs translated.
class LanguageFile {
public:
    explicit LanguageFile(const std::string& entries) : previous(QDir::currentPath()), wasOn(CurrentDevice.TranslationOn)
    {
        QFile file(folder.filePath("language"));
        if (file.open(QIODevice::WriteOnly))
            file.write(entries.data(), static_cast<qint64>(entries.size()));
        file.close();
        QDir::setCurrent(folder.path());
        CurrentDevice.TranslationOn = 1;
    }
    ~LanguageFile()
    {
        CurrentDevice.TranslationOn = wasOn;
        QDir::setCurrent(previous);
    }
    LanguageFile(const LanguageFile&) = delete;
    LanguageFile& operator=(const LanguageFile&) = delete;

private:
    QTemporaryDir folder;
    QString previous;
    int wasOn;
};
