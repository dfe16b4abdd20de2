// The version users see: a patch release never reads as the release it mends, wherever it comes from.
#include "foundation/AppBundle.h"
#include "foundation/DisplayVersion.h"

#include "testsupport/QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace lumeno {
namespace {

TEST(DisplayVersionTest, ShowsThePatchOnlyWhenItIsNotZeroAndKeepsAStatedFormThatDoesNotHideIt) {
    struct Case {
        QString version, stated, shown;
    };
    const Case cases[] = {
        // Nothing stated: the version's own form.
        {"1.1.0", "", "1.1"},
        {"1.1.1", "", "1.1.1"},
        {"2.0.0", "", "2.0"},
        {"1.10.12", "", "1.10.12"},
        {"1.9.0", "", "1.9"},
        {"1.2.3-beta", "", "1.2.3-beta"},
        {"1..1", "1.", "1."},
        {"1.10", "", "1.10"},
        {"5", "", "5"},
        {"1.2.0-beta.2", "", "1.2.0-beta.2"},
        // A patch release stated as MAJOR.MINOR, as builds and feeds once wrote it, shows its patch.
        {"1.1.1", "1.1", "1.1.1"},
        {"1.10.3", "1.10", "1.10.3"},
        // Any other stated form is the maker's choice.
        {"1.1.0", "1.1", "1.1"},
        {"1.1.1", "1.1.1", "1.1.1"},
        {"1.1.1", "1.1 (spring)", "1.1 (spring)"},
        {"1.10.0-beta.2", "1.10 beta", "1.10 beta"},
        {"1.1.0", "1.1.0", "1.1.0"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DisplayVersion::of(c.version, c.stated), c.shown) << c.version.toStdString() << " / " << c.stated.toStdString();
}

// An installed patch release whose build wrote the version without its patch.
TEST(DisplayVersionTest, ABundleOfAPatchReleaseShowsItsPatch) {
    QTemporaryDir folder;
    QFile file(QDir(folder.path()).filePath(AppBundle::fileName));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("identifier=app.lumeno.Lumeno\nversion=1.1.1\ndisplay-version=1.1\n");
    file.close();
    const std::variant<AppBundle, QString> bundle = AppBundle::read(folder.path());
    ASSERT_TRUE(std::holds_alternative<AppBundle>(bundle)) << std::get<QString>(bundle).toStdString();
    EXPECT_EQ(std::get<AppBundle>(bundle).displayVersion, QStringLiteral("1.1.1"));
    EXPECT_EQ(std::get<AppBundle>(bundle).version, QStringLiteral("1.1.1"));
}

} // namespace
} // namespace lumeno
