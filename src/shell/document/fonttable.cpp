// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/document/fonttable.h"

#include "shell/core/kannadatext.h"

#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHash>
#include <QMutex>
#include <QSet>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

QStringList fourFaces(const QString &folder, const QString &stem, const QString &regular, const QString &bold,
                      const QString &italic, const QString &boldItalic, const QString &ext)
{
    QStringList files;
    for (const QString &style : {regular, bold, italic, boldItalic})
        if (!style.isNull())
            files << folder + stem + style + ext;
    return files;
}

QStringList liberation(const QString &stem)
{
    return fourFaces(u"truetype/liberation2/"_s, stem, u"-Regular"_s, u"-Bold"_s, u"-Italic"_s, u"-BoldItalic"_s,
                     u".ttf"_s);
}

QStringList crosextra(const QString &stem)
{
    return fourFaces(u"truetype/crosextra/"_s, stem, u"-Regular"_s, u"-Bold"_s, u"-Italic"_s, u"-BoldItalic"_s,
                     u".ttf"_s);
}

QStringList urw(const QString &stem, const QString &regular, const QString &bold, const QString &italic,
                const QString &boldItalic)
{
    return fourFaces(u"opentype/urw-base35/"_s, stem, regular, bold, italic, boldItalic, u".otf"_s);
}

QStringList dejavu(const QString &stem)
{
    return fourFaces(u"truetype/dejavu/"_s, stem, u""_s, u"-Bold"_s, u"-Oblique"_s, u"-BoldOblique"_s, u".ttf"_s);
}

const QString kLohit = u"Lohit Kannada"_s;

// Digits and spaces take the script of the text before them, so a register number that
// follows a Kannada phrase is shaped as Kannada in its Latin face, which draws it the same
// but makes Qt say "OpenType support missing" on the console for every sheet. That notice
// tells the clerk nothing and is left out; every other message goes on as before.
QtMessageHandler g_nextHandler = nullptr;

void quietShapingNotices(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtWarningMsg && message.contains(u"OpenType support missing for"_s))
        return;
    if (g_nextHandler) // Qt hands back its own default handler when none was installed
        g_nextHandler(type, context, message);
}

// The families of the table whose files the program loaded, lower case. Loaded once, on
// first use: the files are registered, not read, so this costs little.
const QSet<QString> &drawable()
{
    static const QSet<QString> families = [] {
        g_nextHandler = qInstallMessageHandler(quietShapingNotices);
        QSet<QString> loaded;
        QSet<QString> seen;
        for (const FontTable::Face &face : FontTable::faces()) {
            for (const QString &file : face.files) {
                if (seen.contains(file))
                    continue;
                seen.insert(file);
                for (const QString &root : FontTable::fontRoots()) {
                    const QString path = QDir(root).filePath(file);
                    if (!QFileInfo::exists(path))
                        continue;
                    const int id = QFontDatabase::addApplicationFont(path);
                    for (const QString &family : QFontDatabase::applicationFontFamilies(id))
                        loaded.insert(family.toLower());
                    break;
                }
            }
        }
        return loaded;
    }();
    return families;
}

} // namespace

const std::vector<FontTable::Face> &FontTable::faces()
{
    static const std::vector<Face> table = [] {
        const QStringList dejavuSans = dejavu(u"DejaVuSans"_s);
        const QStringList bookman = urw(u"URWBookman"_s, u"-Light"_s, u"-Demi"_s, u"-LightItalic"_s, u"-DemiItalic"_s);
        const QStringList p052 = urw(u"P052"_s, u"-Roman"_s, u"-Bold"_s, u"-Italic"_s, u"-BoldItalic"_s);
        return std::vector<Face>{
            {u"Times New Roman"_s, u"Liberation Serif"_s, liberation(u"LiberationSerif"_s), u"fonts-liberation2"_s,
             true},
            {u"Arial"_s, u"Liberation Sans"_s, liberation(u"LiberationSans"_s), u"fonts-liberation2"_s, true},
            {u"Courier New"_s, u"Liberation Mono"_s, liberation(u"LiberationMono"_s), u"fonts-liberation2"_s, true},
            {u"Calibri"_s, u"Carlito"_s, crosextra(u"Carlito"_s), u"fonts-crosextra-carlito"_s, true},
            {u"Cambria"_s, u"Caladea"_s, crosextra(u"Caladea"_s), u"fonts-crosextra-caladea"_s, true},
            // Book Antiqua was drawn to Palatino's widths; P052 is URW's Palatino.
            {u"Book Antiqua"_s, u"P052"_s, p052, u"fonts-urw-base35"_s, true},
            {u"Bookman Old Style"_s, u"URW Bookman"_s, bookman, u"fonts-urw-base35"_s, false},
            {u"Cooper Black"_s, u"URW Bookman"_s, bookman, u"fonts-urw-base35"_s, false, true},
            {u"Verdana"_s, u"DejaVu Sans"_s, dejavuSans, u"fonts-dejavu-core"_s, false},
            {u"Tahoma"_s, u"DejaVu Sans Condensed"_s, dejavu(u"DejaVuSansCondensed"_s), u"fonts-dejavu-extra"_s, false},
            {u"MS Sans Serif"_s, u"Liberation Sans"_s, liberation(u"LiberationSans"_s), u"fonts-liberation2"_s, false},
            {u"Lucida Console"_s, u"DejaVu Sans Mono"_s, dejavu(u"DejaVuSansMono"_s), u"fonts-dejavu-core"_s, false},
            {u"Old English Text MT"_s,
             u"Blankenburg_UNZ1A"_s,
             {u"truetype/blankenburg/Blankenburg_UNZ1A.ttf"_s},
             u"fonts-blankenburg"_s,
             false},
            {u"Algerian"_s, u"C059"_s, {u"opentype/urw-base35/C059-Bold.otf"_s}, u"fonts-urw-base35"_s, false, true},
            {u"Brush Script MT"_s,
             u"Z003"_s,
             {u"opentype/urw-base35/Z003-MediumItalic.otf"_s},
             u"fonts-urw-base35"_s,
             false},
            {u"AR CENA"_s, u"P052"_s, p052, u"fonts-urw-base35"_s, false},
            // The faces themselves, for layouts that name them, and the Unicode Kannada face.
            {u"DejaVu Sans"_s, u"DejaVu Sans"_s, dejavuSans, u"fonts-dejavu-core"_s, true},
            {u"DejaVu Sans Mono"_s, u"DejaVu Sans Mono"_s, dejavu(u"DejaVuSansMono"_s), u"fonts-dejavu-core"_s, true},
            {u"DejaVu Serif"_s, u"DejaVu Serif"_s, dejavu(u"DejaVuSerif"_s), u"fonts-dejavu-core"_s, true},
            {kLohit, kLohit, {u"truetype/lohit-kannada/Lohit-Kannada.ttf"_s}, u"fonts-lohit-knda"_s, true},
        };
    }();
    return table;
}

QStringList FontTable::fontRoots()
{
    QStringList roots;
    for (const QString &dir : qEnvironmentVariable("SCROLLWISE_FONT_DIRS").split(u':', Qt::SkipEmptyParts))
        roots << dir;
    roots << u"/usr/share/fonts"_s << u"/usr/local/share/fonts"_s;
    return roots;
}

namespace {

// What has been looked up, kept for the process: a page asks for the same few families for
// every run of text. Emptied by rescan().
struct Lookups
{
    QMutex mutex;
    QHash<QString, FontTable::Resolution> resolved;
    QHash<QString, bool> installed;
};

Lookups &lookups()
{
    static Lookups l;
    return l;
}

} // namespace

void FontTable::rescan()
{
    Lookups &l = lookups();
    QMutexLocker lock(&l.mutex);
    l.resolved.clear();
    l.installed.clear();
}

FontTable::Resolution FontTable::resolve(const QString &family)
{
    const QString named = family.trimmed();
    const QString key = named.toLower();
    const QSet<QString> &loaded = drawable();
    Lookups &l = lookups();
    {
        QMutexLocker lock(&l.mutex);
        if (const auto hit = l.resolved.constFind(key); hit != l.resolved.constEnd())
            return *hit;
    }
    Resolution r{named, defaultFamily(), Source::Unresolved};
    if (isInstalled(named)) {
        r.drawn = named;
        r.source = Source::Machine;
    } else {
        for (const Face &face : faces()) {
            if (face.named.compare(named, Qt::CaseInsensitive) == 0 && loaded.contains(face.drawn.toLower())) {
                r.drawn = face.drawn;
                r.bold = face.bold;
                r.source = Source::Table;
                break;
            }
        }
    }
    QMutexLocker lock(&l.mutex);
    l.resolved.insert(key, r);
    return r;
}

QString FontTable::drawnFamily(const QString &family) { return resolve(family).drawn; }

QString FontTable::defaultFamily() { return u"Liberation Serif"_s; }

QStringList FontTable::fallbackFamilies()
{
    QStringList families;
    if (const QString kannada = unicodeKannadaFamily(); !kannada.isEmpty())
        families << kannada;
    families << u"DejaVu Sans"_s;
    return families;
}

QStringList FontTable::legacyKannadaFonts() { return {u"Nudi 01 e"_s, u"Nudi 01 k"_s, u"BRH Kannada"_s}; }

QStringList FontTable::layoutFonts()
{
    QStringList families = legacyKannadaFonts();
    for (const Face &face : faces())
        if (!families.contains(face.named))
            families << face.named;
    return families;
}

bool FontTable::isInstalled(const QString &family)
{
    // The table's own families count too: a layout naming "Carlito" gets Carlito.
    drawable();
    const QString named = family.trimmed();
    Lookups &l = lookups();
    QMutexLocker lock(&l.mutex);
    if (const auto hit = l.installed.constFind(named.toLower()); hit != l.installed.constEnd())
        return *hit;
    const QStringList families = QFontDatabase::families();
    const bool found = std::any_of(families.begin(), families.end(), [&named](const QString &f) {
        return f.compare(named, Qt::CaseInsensitive) == 0
               || f.startsWith(named + u" ["_s, Qt::CaseInsensitive); // foundry-qualified names
    });
    l.installed.insert(named.toLower(), found);
    return found;
}

QStringList FontTable::unresolved(const QStringList &families)
{
    QStringList result;
    for (const QString &family : families) {
        if (family.trimmed().isEmpty() || result.contains(family))
            continue;
        const bool unresolvable = kannada::legacyFont(family) ? !isInstalled(family) && unicodeKannadaFamily().isEmpty()
                                                              : resolve(family).source == Source::Unresolved;
        if (unresolvable)
            result << family;
    }
    return result;
}

QString FontTable::warning(const QStringList &families)
{
    const QStringList absent = unresolved(families);
    if (absent.isEmpty())
        return {};
    QStringList named;
    for (const QString &f : absent)
        named << u'"' + f + u"\" (drawn in "_s + drawnFamily(f) + u')';
    return (absent.size() == 1 ? u"This font is neither on this machine nor in the program's font table: "_s
                               : u"These fonts are neither on this machine nor in the program's font table: "_s)
           + named.join(u", "_s) + u". The run goes on in that face."_s;
}

bool FontTable::warnMissing(const QStringList &families, Prompter &prompter)
{
    const QString text = warning(families);
    if (text.isEmpty())
        return false;
    prompter.message(text, u"Message"_s, PromptIcon::Exclamation);
    return true;
}

QString FontTable::unicodeKannadaFamily()
{
    static const QString family = [] {
        // The table's face first, so that Kannada looks the same on every machine.
        if (resolve(kLohit).source != Source::Unresolved)
            return kLohit;
        const QStringList kannada = QFontDatabase::families(QFontDatabase::Kannada);
        for (const QString &preferred : {u"Noto Sans Kannada"_s, u"Noto Serif Kannada"_s})
            for (const QString &f : kannada)
                if (f.compare(preferred, Qt::CaseInsensitive) == 0)
                    return f;
        for (const QString &f : kannada)
            if (!kannada::legacyFont(f))
                return f;
        return QString();
    }();
    return family;
}

bool FontTable::readsAsUnicode(const QString &family)
{
    return kannada::legacyFont(family).has_value() && !isInstalled(family);
}

QString FontTable::kannadaNotice()
{
    QStringList absent;
    for (const QString &f : legacyKannadaFonts())
        if (!isInstalled(f))
            absent << f;
    if (absent.isEmpty())
        return {};
    const QString font = unicodeKannadaFamily();
    return (absent.size() == 1 ? u"The legacy Kannada font "_s : u"The legacy Kannada fonts "_s) + u'"'
           + absent.join(u"\", \""_s) + (absent.size() == 1 ? u"\" is not installed"_s : u"\" are not installed"_s)
           + u": Kannada is shown through Unicode"_s
           + (font.isEmpty() ? u" (no Unicode Kannada font is installed either: install fonts-lohit-knda)."_s
                             : u" in "_s + font + u", and stored in the legacy codes as before."_s);
}

} // namespace sw
