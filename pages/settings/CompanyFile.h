#pragma once
#include <QString>

#include <functional>

class QIODevice;

// The company file "Net.xml" beside the language files: root "Profile", sections "English"
// and "Web" in any order, each with "CompanyName" (the company line) and "CompanyWeben" or
// "CompanyWebcn" (the web address for language 0, or for languages 1 to 4). Later elements
// override earlier ones.
enum class CompanyText { Line, WebAddress };
using CompanyTextHandler = std::function<void(CompanyText which, const QString& text)>;

// The company file's place: "<program folder>/Language/Net.xml".
QString CompanyFilePath();

// Reads the company file at `path` through the checked opener (a regular file of at most
// CheckedFile::LanguageLimit bytes) as below. Returns what went wrong, naming the file; empty
// when the file read cleanly.
QString LoadCompanyFile(const QString& path, const std::function<int()>& languageIndex, const CompanyTextHandler& apply);

// Reads an open company file. languageIndex is asked again for every section. Returns the
// reader's error text, empty when clean; another root gives "Not a labels file" and nothing.
QString ReadCompanyFile(QIODevice* device, const std::function<int()>& languageIndex, const CompanyTextHandler& apply);
