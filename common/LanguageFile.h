#pragma once
#include <QString>
#include <QStringList>

#include <functional>

class QIODevice;
class QWidget;

// Language files live in "<program folder>/Language/", one per language index. Each is XML with
// the root element "Total", one element per window section under it, and inside a section one
// text element per widget (named after the widget's object name) or per message key of the window.

// The file of a language index; an index outside 0..5 gives the English file.
QString languageFilePath(int index);

// The language index stored in the user settings ("Language"/"Language"); 0 (English) when
// missing, not a number or outside the known languages.
int currentLanguageIndex();

// Receives one text element of the section: its name and its text.
using LanguageTextHandler = std::function<void(const QString& element, const QString& text)>;

// Reads the section `section` from an open device and hands every element whose name is in
// `known` to `apply`, in file order. Unknown elements (with all they contain) and the sections
// of other windows are skipped. Returns the reader's error text, empty when the read was clean;
// a root other than "Total" gives "Not a labels file" and applies nothing. A known element with
// an element inside it stops the read there; texts applied before it stay.
QString readLanguageSection(QIODevice* device, const QString& section, const QStringList& known,
                            const LanguageTextHandler& apply);

// The shipped files are a few KiB; a file larger than this is refused unread, so a damaged
// or hostile one cannot make every window read megabytes into its texts.
constexpr qint64 MaxLanguageFileSize = 1024 * 1024;

// Reads `section` of the language file of `index` as above. The file is opened through the
// checked opener (a regular file of at most MaxLanguageFileSize bytes). When the file of another
// language is missing or damaged (cannot be read, not well-formed, not a labels file), the texts
// come from the English file instead, over whatever the damaged file gave before its fault, so
// no window is left with the forms' built-in texts. Returns the error of the file that was read
// last: empty when its read was clean. A damaged English file is the installation's fault (see
// englishLanguageFault).
QString loadLanguageSection(int index, const QString& section, const QStringList& known,
                            const LanguageTextHandler& apply);

// What is wrong with the English file, the one every language falls back to: empty when it
// reads cleanly as a whole, else a text naming the file and its fault.
QString englishLanguageFault();

// Sets `text` on the descendant of `root` called `objectName` (label, button, line edit, group box
// or the root itself); false when there is no such widget or it shows no text.
bool setWidgetText(QWidget* root, const QString& objectName, const QString& text);
