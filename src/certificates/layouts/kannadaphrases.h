// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The fixed Kannada phrases of the degree certificates, in the codes of the legacy
// fonts the layouts draw them in (BRH Kannada and Nudi read these alike; where the
// fonts are missing the pages draw their Unicode reading).
// Each says what it means and how it reads; blanks and line ends are part of the
// layout. A phrase in brackets continues the value printed before it.
namespace sw::kannadaphrase {

// this person (the sentence's subject): ಇವರು
inline const QString kThisPerson = QStringLiteral("EªÀgÀÄ ");
// with register number: ನೋಂದಣಿ ಸಂಖ್ಯೆಯೊಂದಿಗೆ
inline const QString kWithRegisterNumber = QStringLiteral(" £ÉÆÃAzÀtÂ ¸ÀASÉåAiÉÆA¢UÉ ");
// (year) in the examination held in that year: ನೇ ವರ್ಷದಲ್ಲಿ ನಡೆದ ಪರೀಕ್ಷೆಯಲ್ಲಿ
inline const QString kInExaminationOfYear = QStringLiteral(" £ÉÃ ªÀµÀðzÀ°è £ÀqÉzÀ ¥ÀjÃPÉëAiÀÄ°è \n");
// (year) examined by the examiners in that year: ನೇ ವರ್ಷದಲ್ಲಿ ಪರೀಕ್ಷಕರಿಂದ ಪರೀಕ್ಷಿಸಲ್ಪಟ್ಟು
inline const QString kExaminedInYear = QStringLiteral(" £ÉÃ ªÀµÀðzÀ°è ¥ÀjÃPÀëPÀjAzÀ ¥ÀjÃQë¸À®àlÄÖ \n");
// M. Phil: ಎಂ. ಫಿಲ್
inline const QString kMPhil = QStringLiteral("JA. ¦ü¯ï ");
// (class) having been certified as passed in that class: ದರ್ಜೆಯಲ್ಲಿ ಉತ್ತೀರ್ಣರಾಗಿರುವರೆಂದು ಪ್ರಮಾಣೀಕೃತವಾಗಿರುವುದರಿಂದ
inline const QString kCertifiedPassedInClass =
    QStringLiteral(" zÀeÉðAiÀÄ°è GwÛÃtðgÁVgÀÄªÀgÉAzÀÄ ¥ÀæªÀiÁtÂÃPÀÈvÀªÁVgÀÄªÀÅzÀjAzÀ \n");
// having been certified as qualified for the degree: ಪದವಿಗಾಗಿ ಅರ್ಹರಾಗಿರುತ್ತಾರೆಂದು ಪ್ರಮಾಣೀಕೃತವಾಗಿರುವುದರಿಂದ
inline const QString kCertifiedQualifiedForDegree =
    QStringLiteral(" ¥ÀzÀ«UÁV CºÀðgÁVgÀÄvÁÛgÉAzÀÄ ¥ÀæªÀiÁtÂÃPÀÈvÀªÁVgÀÄªÀÅzÀjAzÀ \n");
// date / (before the English "Date :"): ದಿನಾಂಕ /
inline const QString kDateOf = QStringLiteral("¢£ÁAPÀ / ");
// date: ದಿನಾಂಕ
inline const QString kDate = QStringLiteral("¢£ÁAPÀ ");
// (date) held on: ರಂದು ನಡೆದ
inline const QString kHeldOn = QStringLiteral(" gÀAzÀÄ £ÀqÉzÀ ");
// at the convocation, this person: ಘಟಿಕೋತ್ಸವದಲ್ಲಿ ಇವರನ್ನು
inline const QString kAtConvocationThisPerson = QStringLiteral(" WÀnPÉÆÃvÀìªÀzÀ°è EªÀgÀ£ÀÄß \n");
// has been admitted to the degree.: ಪದವಿಗೆ ಅಂಗೀಕರಿಸಲಾಗಿದೆ.
inline const QString kAdmittedToDegree = QStringLiteral("¥ÀzÀ«UÉ CAVÃPÀj¸À¯ÁVzÉ.\n");
// given under the seal of the University.: ವಿಶ್ವವಿದ್ಯಾನಿಲಯದ ಮೊಹರಿನೊಂದಿಗೆ ನೀಡಿದೆ.
inline const QString kGivenUnderSeal = QStringLiteral("«±Àé«zÁå¤®AiÀÄzÀ ªÉÆºÀj£ÉÆA¢UÉ ¤ÃrzÉ.\n");
// (date) held in: ರಲ್ಲಿ ಜರುಗಿದ
inline const QString kHeldIn = QStringLiteral("gÀ°è dgÀÄVzÀ ");
// in the examination: ಪರೀಕ್ಷೆಯಲ್ಲಿ
inline const QString kInExamination = QStringLiteral("¥ÀjÃPÉëAiÀÄ°è \n");
// (class) in the class of: ಶ್ರೇಣಿಯಲ್ಲಿ
inline const QString kInClass = QStringLiteral(" ±ÉæÃtÂAiÀÄ°è ");
// certifying that this person has passed, to this person: ಉತ್ತೀರ್ಣರಾಗಿದ್ದಾರೆಂದು ಪ್ರಮಾಣೀಕರಿಸಿ ಇವರಿಗೆ
inline const QString kCertifiedPassedToThisPerson = QStringLiteral("GwÛÃtðgÁVzÁÝgÉAzÀÄ ¥ÀæªÀiÁtÂÃPÀj¹ EªÀjUÉ\n");
// (date) on: ರಂದು
inline const QString kOn = QStringLiteral(" gÀAzÀÄ\n");

} // namespace sw::kannadaphrase
