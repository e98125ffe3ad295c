#include "common/ErrorHandling.h"
#include "common/Global.h"
#include "support/FakeMessageService.h"

#include <gtest/gtest.h>

// An inner procedure reports and passes 19001 on; every caller above sees
// 19001 and shows nothing more: one box however deep the chain.
TEST(ErrorHandling, ReportedErrorShowsExactlyOneBoxThroughTheCallChain)
{
    ScopedFakeMessages fake;
    auto inner = [] {
        ErrorHandling::reportAndPassOn([] { throw AppError(3024, QStringLiteral("Datei nicht gefunden")); });
    };
    auto middle = [&] { ErrorHandling::reportAndPassOn(inner); };
    ErrorHandling::Steps handler;
    handler(middle);
    bool secondRan = false;
    handler([&] { secondRan = true; });

    ASSERT_EQ(fake->shown.size(), 1);
    EXPECT_EQ(fake->shown[0].prompt, QStringLiteral("Es trat folgender Fehler auf: \rDatei nicht gefunden"));
    EXPECT_EQ(fake->shown[0].style, 16);
    EXPECT_TRUE(secondRan);
    EXPECT_TRUE(handler.failed());
}

TEST(ErrorHandling, EmptyErrorTextShowsTheInternalErrorInBothLanguages)
{
    ScopedFakeMessages fake;
    for (const char* lang : {"De", "En"}) {
        gSprache = QString::fromLatin1(lang);
        ErrorHandling::reportAndLeave([] { throw AppError(5, QString()); });
        EXPECT_EQ(fake->lastPrompt(), QStringLiteral("Es trat ein interner Fehler auf!"));
    }
    gSprache = QStringLiteral("En");
    ErrorHandling::reportAndLeave([] { throw AppError(5, QStringLiteral("x")); });
    EXPECT_EQ(fake->lastPrompt(), QStringLiteral("The following error occured: \rx"));
    // "en" is not "En": German.
    gSprache = QStringLiteral("en");
    ErrorHandling::reportAndLeave([] { throw AppError(5, QStringLiteral("x")); });
    EXPECT_EQ(fake->lastPrompt(), QStringLiteral("Es trat folgender Fehler auf: \rx"));
    InitGlobals();
}

TEST(ErrorHandling, ReportAlwaysShowsEvenAnAlreadyReportedError)
{
    ScopedFakeMessages fake;
    EXPECT_FALSE(ErrorHandling::reportAndLeave([] { ErrorHandling::raiseReported(); }));
    EXPECT_TRUE(fake->shown.isEmpty());
    ErrorHandling::reportAndLeave([] { ErrorHandling::raiseReported(); }, ErrorHandling::Always::Yes);
    EXPECT_EQ(fake->shown.size(), 1);
}
