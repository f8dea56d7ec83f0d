// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/document/fontcheck.h"

#include "shell/core/kannadatext.h"

#include <QFontDatabase>
#include <QFontInfo>

using namespace Qt::StringLiterals;

namespace sw {

QStringList FontCheck::legacyKannadaFonts() { return {u"Nudi 01 e"_s, u"Nudi 01 k"_s, u"BRH Kannada"_s}; }

QStringList FontCheck::layoutFonts()
{
    return legacyKannadaFonts() + QStringList{u"Times New Roman"_s, u"Arial"_s,         u"Old English Text MT"_s,
                                              u"Cambria"_s,         u"Cooper Black"_s,  u"Bookman Old Style"_s,
                                              u"Tahoma"_s,          u"Lucida Console"_s};
}

bool FontCheck::isInstalled(const QString &family)
{
    // Substitutes (fontconfig's metric aliases) do not count: the layouts are measured in the real font.
    const QStringList families = QFontDatabase::families();
    return std::any_of(families.begin(), families.end(), [&family](const QString &f) {
        return f.compare(family, Qt::CaseInsensitive) == 0
               || f.startsWith(family + u" ["_s, Qt::CaseInsensitive); // foundry-qualified names
    });
}

QString FontCheck::fallbackFor(const QString &family) { return QFontInfo(QFont(family)).family(); }

QStringList FontCheck::missing(const QStringList &families)
{
    QStringList result;
    for (const QString &family : families)
        if (!isInstalled(family) && !result.contains(family))
            result << family;
    return result;
}

QString FontCheck::warning(const QStringList &families)
{
    const QStringList absent = missing(families);
    if (absent.isEmpty())
        return {};
    QStringList named;
    for (const QString &f : absent) {
        const QString instead = readsAsUnicode(f) && !unicodeKannadaFamily().isEmpty()
                                    ? u"Kannada printed through Unicode in "_s + unicodeKannadaFamily()
                                    : u"printed in "_s + fallbackFor(f);
        named << u'"' + f + u"\" ("_s + instead + u')';
    }
    return (absent.size() == 1 ? u"This font is not installed: "_s : u"These fonts are not installed: "_s)
           + named.join(u", "_s) + u". The run goes on in the fallback."_s;
}

bool FontCheck::warnMissing(const QStringList &families, Prompter &prompter)
{
    const QString text = warning(families);
    if (text.isEmpty())
        return false;
    prompter.message(text, u"Message"_s, PromptIcon::Exclamation);
    return true;
}

QString FontCheck::unicodeKannadaFamily()
{
    // Looked up once: fonts are not taken away while the program runs.
    static const QString family = [] {
        const QStringList kannada = QFontDatabase::families(QFontDatabase::Kannada);
        for (const QString &preferred : {u"Noto Sans Kannada"_s, u"Noto Serif Kannada"_s, u"Lohit Kannada"_s})
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

bool FontCheck::readsAsUnicode(const QString &family)
{
    return kannada::legacyFont(family).has_value() && !isInstalled(family);
}

QString FontCheck::kannadaNotice()
{
    const QStringList absent = missing(legacyKannadaFonts());
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
