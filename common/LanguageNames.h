#pragma once
#include <QStringList>

// The languages the program speaks, in language index order (the index stored in the user
// settings and the number in front of each language file's name).
constexpr int LanguageCount = 6;

// The names every language box lists, item index = language index. Each language the first
// boxes did not already name is named as it names itself.
QStringList LanguageNames();

// True for 0 .. LanguageCount - 1.
bool IsLanguageIndex(int index);
