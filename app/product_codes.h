// The six product ids the reports use to sort sales lines into fuels and card deductions.
// They are fixed by the station's point-of-sale product master and never change at run time.
#pragma once

#include <QString>

namespace products {

inline const QString Prod92 = QStringLiteral("113F 12092005");     // 九二無鉛
inline const QString ProdDiesel = QStringLiteral("113F 51101001"); // 超級柴油
inline const QString Prod95 = QStringLiteral("113F 12095001");     // 九五無鉛
inline const QString Prod98 = QStringLiteral("113F 12098008");     // 九八無鉛
inline const QString Prod700LT = QStringLiteral("700LT11786003");  // fleet-card deduction line
inline const QString Prod700CT = QStringLiteral("700CT22517003");  // 捷利-card deduction line

} // namespace products
