#include "app/menu_screens.h"

#include "charge/br010_screen.h"
#include "charge/br020_screen.h"
#include "charge/br100_screen.h"
#include "charge/sy010_screen.h"
#include "charge/sy040_screen.h"
#include "console/sy990_screen.h"
#include "fuel/br050_screen.h"
#include "fuel/br070_screen.h"
#include "fuel/br110_screen.h"
#include "fuel/sy020_screen.h"
#include "invoice/br090_screen.h"
#include "invoice/sy050_screen.h"
#include "reports/business/br060_screen.h"
#include "reports/business/br080_screen.h"
#include "reports/business/br030_screen.h"
#include "reports/business/br040_screen.h"
#include "screens/common/screen.h"

#include <QHash>

namespace {

template <class Screen> ScreenFactory make() {
    return [] { return std::unique_ptr<TScreen>(new Screen); };
}

// Every screen built so far, by the class name the menu knows it by.
QHash<QString, ScreenFactory>& factories() {
    static QHash<QString, ScreenFactory> list = [] {
        QHash<QString, ScreenFactory> built; // screens join this list as they are built
        built.insert(QStringLiteral("TFrmBR010"), make<TFrmBR010>());
        built.insert(QStringLiteral("TFrmSY010"), make<TFrmSY010>());
        built.insert(QStringLiteral("TFrmSY020"), make<TFrmSY020>());
        built.insert(QStringLiteral("TFrmSY040"), make<TFrmSY040>());
        built.insert(QStringLiteral("TFrmSY990"), make<TFrmSY990>());
        built.insert(QStringLiteral("TFrmBR050"), make<TFrmBR050>());
        built.insert(QStringLiteral("TFrmBR070"), make<TFrmBR070>());
        built.insert(QStringLiteral("TFrmBR110"), make<TFrmBR110>());
        built.insert(QStringLiteral("TFrmBR060"), make<TFrmBR060>());
        built.insert(QStringLiteral("TFrmBR080"), make<TFrmBR080>());
        built.insert(QStringLiteral("TFrmBR030"), make<TFrmBR030>());
        built.insert(QStringLiteral("TFrmBR040"), make<TFrmBR040>());
        built.insert(QStringLiteral("TFrmBR020"), make<TFrmBR020>());
        built.insert(QStringLiteral("TFrmBR100"), make<TFrmBR100>());
        built.insert(QStringLiteral("TFrmSY050"), make<TFrmSY050>());
        built.insert(QStringLiteral("TFrmBR090"), make<TFrmBR090>());
        return built;
    }();
    return list;
}

} // namespace

ScreenFactory screenFactory(const QString& className) {
    return factories().value(className);
}

void registerScreen(const QString& className, ScreenFactory factory) {
    factories().insert(className, std::move(factory));
}
