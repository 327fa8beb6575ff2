// What an address in an entry opens.
#include "core/Addresses.h"
#include "tests/support/TestEnv.h"

#include <QDir>

#include <gtest/gtest.h>

namespace {

TEST(Addresses, EachKindOpensWhatAUserExpects) {
    TempProgramFolder folder;
    QDir().mkpath(folder.file("Install Dir"));
    const struct {
        QString text;
        QString url; // empty: nothing opens it
    } cases[] = {
        {folder.file("Install Dir"), QUrl::fromLocalFile(folder.file("Install Dir")).toString()},
        {"https://example.com/help", "https://example.com/help"},
        {"https://example.com/@team", "https://example.com/@team"},
        {"ftp://files.example.com/x", "ftp://files.example.com/x"},
        {"support@example.com", "mailto:support@example.com"},
        {"mailto:support@example.com", "mailto:support@example.com"},
        {"www.example.com", "https://www.example.com"},
        {"example.com/support?x=1", "https://example.com/support?x=1"},
        {"  www.example.com  ", "https://www.example.com"},
        {"", ""},
        {"/no/such/folder", ""},
        {"C:\\Program Files\\Tool", ""},
        {"just words", ""},
        {"nodot", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AddressUrl(c.text).toString(), c.url) << c.text.toStdString();
}

TEST(Addresses, MailAddressesNeedAnAtAfterTheFirstCharacterAndNoScheme) {
    EXPECT_TRUE(IsMailAddress("a@example.com"));
    EXPECT_FALSE(IsMailAddress("@example.com"));
    EXPECT_FALSE(IsMailAddress("https://example.com/@team"));
    EXPECT_FALSE(IsMailAddress("no at sign"));
    EXPECT_TRUE(IsMailAddress("C:\\x@y")); // a drive letter is no scheme
    EXPECT_EQ(MailUrlText("a@b.c"), "mailto:a@b.c");
    EXPECT_EQ(MailUrlText("MAILTO:a@b.c"), "MAILTO:a@b.c");
}

} // namespace
