// SPDX-License-Identifier: GPL-3.0-or-later
// The Kannada converter over a convocation's names: every candidate's four Kannada
// names (name, surname, father's and mother's name) read as Unicode and written back.
//
//   kannada_bench [candidates]        (100,000 unless given)
//
// The names are built from common Kannada name words of one to three words each, so
// the mix of plain letters, subjoined letters and the reph is that of real names.
// Prints the figures in processor time (one core); asserts nothing.
#include "shell/core/kannadatext.h"

#include <QCoreApplication>
#include <QStringList>
#include <QTextStream>

#include <ctime>

using namespace Qt::StringLiterals;
namespace kn = sw::kannada;

namespace {

qint64 cpuMs() { return qint64(std::clock()) * 1000 / CLOCKS_PER_SEC; }

const QStringList kWords = {
    u"ಸೂರ್ಯಪ್ರಕಾಶ್"_s, u"ಲಕ್ಷ್ಮೀ"_s,    u"ಮಂಜುನಾಥ"_s, u"ಶ್ರೀನಿವಾಸ"_s, u"ಗೌಡ"_s,       u"ಕೃಷ್ಣಮೂರ್ತಿ"_s, u"ಸರಸ್ವತಿ"_s,  u"ರಾಘವೇಂದ್ರ"_s,
    u"ಪುಷ್ಪಾ"_s,     u"ನಾಗರಾಜ"_s,   u"ಹೆಗ್ಡೆ"_s,     u"ಭಟ್"_s,      u"ಚಂದ್ರಶೇಖರ"_s, u"ಜ್ಯೋತಿ"_s,     u"ವೆಂಕಟೇಶ"_s, u"ಶಾರದಾ"_s,
    u"ಕುಮಾರ್"_s,     u"ಸುಬ್ರಹ್ಮಣ್ಯ"_s, u"ಅನಿತಾ"_s,    u"ಮಹಾದೇವ"_s,  u"ರೇಖಾ"_s,     u"ಪ್ರಶಾಂತ್"_s,   u"ದೀಪಾ"_s,   u"ಶಿವಕುಮಾರ್"_s,
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int candidates = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 100000;
    QTextStream out(stdout);

    // Stored names, as the database holds them: written once from Unicode.
    QStringList stored;
    stored.reserve(candidates * 4);
    for (int c = 0; c < candidates; ++c) {
        for (int n = 0; n < 4; ++n) {
            const int words = 1 + (c + n) % 3;
            QStringList name;
            for (int w = 0; w < words; ++w)
                name << kWords.at((c * 7 + n * 3 + w * 5) % kWords.size());
            stored << kn::fromUnicode(name.join(u' ')).text;
        }
    }
    qint64 chars = 0;
    for (const QString &s : stored)
        chars += s.size();

    qint64 start = cpuMs();
    QStringList read;
    read.reserve(stored.size());
    for (const QString &s : stored)
        read << kn::toUnicode(s).text;
    const qint64 readMs = cpuMs() - start;

    start = cpuMs();
    qint64 mismatches = 0;
    for (qsizetype i = 0; i < read.size(); ++i)
        mismatches += kn::fromUnicode(read.at(i)).text != stored.at(i);
    const qint64 writeMs = cpuMs() - start;

    out << "names: " << stored.size() << " (" << candidates << " candidates x 4), " << chars << " legacy codes\n"
        << "legacy -> Unicode: " << readMs << " ms\n"
        << "Unicode -> legacy: " << writeMs << " ms\n"
        << "both ways: " << (readMs + writeMs) << " ms (processor time, one core)\n"
        << "names that did not come back the same: " << mismatches << '\n';
    return 0;
}
