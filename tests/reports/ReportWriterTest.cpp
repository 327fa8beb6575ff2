// The text and web-page reports, line for line, over a small store: full
// and selective, one and several programs; escaping and links; failures.
#include "reports/ReportWriter.h"
#include "tests/support/Fakes.h"

#include <QtTest>

namespace {

const QString Uninstall =
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
const QDateTime Now(QDate(2024, 3, 5), QTime(14, 7, 9));

QStringList FileLines(const QString& path) {
    const QByteArray bytes = ReadFileBytes(path);
    // UTF-8 without a byte-order mark, CR LF throughout, a line end at the end.
    if (bytes.startsWith("\xEF\xBB\xBF") || !bytes.endsWith("\r\n") ||
        bytes.count('\n') != bytes.count("\r\n"))
        return {"<bad file>"};
    QStringList lines = QString::fromUtf8(bytes).split("\r\n");
    lines.removeLast();
    return lines;
}

QStringList TextHeaderLines(int programs, int chosen) {
    return {QString(27, ' ') + "Installed Programs Report",
            "",
            "Computer Name : pc<1>",
            "User Name : me & you",
            QString("Installed Programs : %1").arg(programs),
            QString("Current Selected Programs : %1").arg(chosen),
            ""};
}

QStringList TextFooterLines() {
    return {QString(43, '-'), "-  Installed Programs Report              -",
            "-  Created in : " + GeneralDateText(Now) + "      -",
            "-  Created By Relvano           -", QString(43, '-')};
}

const QString InfoTable =
    "<table border=\"0\" cellpadding=\"0\" cellspacing=\"0\" style=\"border-"
    "collapse: collapse\" bordercolor=\"#111111\" width=\"802\" height=\"18\">";
const QString ItemTable =
    "<table border=\"0\" cellpadding=\"0\" cellspacing=\"0\" style=\"border-collapse: collapse\" "
    "bordercolor=\"#111111\" width=\"720\" height=\"14\" dir=\"ltr\" bgcolor=\"#CBDBF8\">";

QStringList HtmlHeaderLines(int programs, int chosen) {
    QStringList lines{
        "<head>",
        "<meta charset=\"utf-8\">",
        "<title>Installed Programs Report</title>",
        "</head>",
        "<body>",
        "<body link=\"#0066FF\">",
        "<div align=\"left\">",
        "  <table border=\"1\" cellpadding=\"0\" cellspacing=\"0\" style=\"border-collapse: "
        "collapse\" bordercolor=\"#000000\" width=\"720\" height=\"20\" bgcolor=\"#CBDBF8\">",
        "    <tr>",
        "      <td width=\"720\" height=\"20\">",
        "      <p align=\"center\"><blink><font face=\"Traditional Arabic\"><b>Installed Programs "
        "Report</b></font></blink></td>",
        "    </tr>",
        "  </table>",
        "</div>"};
    const auto info = [&](const QString& label, const QString& value) {
        lines << InfoTable << "  <tr>"
              << "    <td width=\"802\" height=\"18\"><b>" + label + "</b><i>" + value + "</i></td>"
              << "  </tr>"
              << "</table>";
    };
    info("Computer Name : ", "pc&lt;1&gt;");
    info("User Name : ", "me &amp; you");
    info("Installed Programs : ", QString::number(programs));
    lines << "<table border=\"0\" cellpadding=\"0\" cellspacing=\"0\" style=\"border-collapse: "
             "collapse\" bordercolor=\"#111111\" width=\"720\" height=\"18\" bgcolor=\"#FFFFFF\">"
          << "  <tr>"
          << "    <td width=\"802\" height=\"18\"><b>Selected Programs : </b><i>" +
                 QString::number(chosen) + "</i></td>"
          << "  </tr>"
          << "</table>";
    return lines;
}

QStringList HtmlTitleLines(const QString& title) {
    return {"<p style=\"word-spacing: 0\">&nbsp;</p>",
            "<div align=\"left\">",
            "  <table border=\"1\" cellpadding=\"0\" cellspacing=\"0\" style=\"border-collapse: "
            "collapse\" bordercolor=\"#3366FF\" width=\"720\" height=\"18\" bgcolor=\"#6699FF\" "
            "dir=\"ltr\">",
            "    <tr>",
            "      <td width=\"720\" height=\"18\"><b>" + title + "</b></td>",
            "    </tr>",
            "  </table>",
            "</div>"};
}

QStringList HtmlItemLines(const QString& cell) {
    return {ItemTable, "  <tr>", "    <td width=\"100%\" height=\"20\">" + cell, "  </tr>",
            "</table>"};
}

QStringList HtmlFooterLines() {
    return {"<p align=\"center\"><b>Installed Programs Report</b></p>",
            "<p align=\"center\">Created in : " + GeneralDateText(Now) + "</p>",
            "<p align=\"center\">Created By <b><font color=\"#0066FF\">Relvano</font></b>",
            "<p align=\"center\">&nbsp;</p>",
            "</body>",
            "</html>"};
}

} // namespace

class ReportWriterTest : public QObject {
    Q_OBJECT

    std::unique_ptr<FakeApp> app;
    QList<ListedProgram> programs;

    void set(const QString& key, const QString& name, const QString& value) {
        app->context.entries().setValue(key, name, value);
    }
    ReportInput input(const QList<bool>& chosen, const QList<int>& items = {}) {
        ReportInput in;
        in.computerName = "pc<1>";
        in.userName = "me & you";
        in.programs = programs;
        in.chosen = chosen;
        for (int k : items)
            in.items[k] = true;
        UninstallEntries& entries = app->context.entries();
        in.readValue = [&entries, this](qsizetype n, const QString& name) {
            return ReadReportValue(entries, programs, n, name);
        };
        in.now = [] {
            return Now;
        };
        return in;
    }
    QString file(const char* name) { return app->folder.file(name); }

private slots:
    void init() {
        app = std::make_unique<FakeApp>();
        // Acme has every value; béta has no Publisher and a DWORD install
        // date; the third holds what must not reach a browser as markup.
        const QStringList values{"InstallSource", "InstallLocation", "UninstallString",
                                 "InstallDate",   "Publisher",       "DisplayVersion",
                                 "URLInfoAbout",  "HelpLink"};
        for (const QString& v : values)
            set("AcmeKey", v, "acme-" + v);
        set("AcmeKey", "URLInfoAbout", "https://acme.example/about?a=1&b=2");
        set("AcmeKey", "HelpLink", "N/A");
        const QString reg = file("beta.reg");
        QVERIFY(WriteFileBytes(reg, ("REGEDIT4\r\n\r\n[" + Uninstall +
                                     "bétaKey]\r\n\"InstallDate\"=dword:01346f2a\r\n")
                                        .toUtf8()));
        QVERIFY(app->context.store().ImportFile(reg).imported);
        set("bétaKey", "HelpLink", "mailto:help@beta.example");
        set("xss", "URLInfoAbout", "javascript:alert(1)");
        set("xss", "HelpLink", "\"><script>alert(2)</script>");
        set("xss", "Publisher", "<script>alert(3)</script>");
        programs = {{"AcmeKey", "Acme Photo Editor"},
                    {"bétaKey", "béta tool"},
                    {"xss", "<script>alert(1)</script> & co"}};
    }

    void textHeaderAndFooter() {
        QCOMPARE(TextHeader("pc<1>", "me & you", 3, 2),
                 TextHeaderLines(3, 2).mid(0, 6).join("\r\n") + "\r\n");
        QCOMPARE(TextFooter(Now), TextFooterLines().join("\r\n"));
        // The general date form: the date alone at midnight.
        QCOMPARE(GeneralDateText(QDateTime(QDate(2024, 3, 5), QTime(0, 0))),
                 QLocale().toString(QDate(2024, 3, 5), QLocale::ShortFormat));
        QVERIFY(GeneralDateText(Now).contains(' '));
    }

    void fullTextReport() {
        // The first and third programs of three.
        QVERIFY(WriteTextFull(file("full.txt"), input({true, false, true})));
        QStringList expected = TextHeaderLines(3, 2);
        expected << "1 - ACME PHOTO EDITOR"
                 << ""
                 << "Registry Name : AcmeKey"
                 << "Install Source : acme-InstallSource"
                 << "Install Location : acme-InstallLocation"
                 << "Uninstall String : acme-UninstallString"
                 << "Install Date : acme-InstallDate"
                 << "Publisher : acme-Publisher"
                 << "Display Version : acme-DisplayVersion"
                 << "Publisher Url : https://acme.example/about?a=1&b=2"
                 << "Support Url : N/A"
                 << ""
                 << "3 - <SCRIPT>ALERT(1)</SCRIPT> & CO"
                 << ""
                 << "Registry Name : xss"
                 << "Install Source : N/A"
                 << "Install Location : N/A"
                 << "Uninstall String : N/A"
                 << "Install Date : N/A"
                 << "Publisher : <script>alert(3)</script>"
                 << "Display Version : N/A"
                 << "Publisher Url : javascript:alert(1)"
                 << "Support Url : \"><script>alert(2)</script>"
                 << "" << TextFooterLines();
        QCOMPARE(expected.size(), 36);
        QCOMPARE(FileLines(file("full.txt")), expected);
    }

    void selectiveTextReport() {
        // One item, two programs: the layout of 22 lines.
        QVERIFY(WriteTextSelected(file("one.txt"), input({true, true, false}, {SupportUrlItem})));
        QStringList expected = TextHeaderLines(3, 2);
        expected << ""
                 << "1 - ACME PHOTO EDITOR"
                 << ""
                 << "Support Url : N/A"
                 << ""
                 << "2 - BÉTA TOOL"
                 << ""
                 << "Support Url : mailto:help@beta.example"
                 << ""
                 << "" << TextFooterLines();
        QCOMPARE(expected.size(), 22);
        QCOMPARE(FileLines(file("one.txt")), expected);

        // Several items in index order; the registry name keeps its case, a
        // missing value and a DWORD read as "N/A".
        QVERIFY(WriteTextSelected(file("some.txt"), input({false, true, false}, {5, 0, 4})));
        QCOMPARE(FileLines(file("some.txt")).mid(7),
                 (QStringList{"", "2 - BÉTA TOOL", "", "Registry Name : bétaKey",
                              "Install Date : N/A", "Publisher : N/A", "", ""} +
                  TextFooterLines()));
        QCOMPARE(FileLines(file("some.txt"))[5], QString("Current Selected Programs : 1"));
    }

    void fullHtmlReport() {
        QVERIFY(WriteHtmlFull(file("full.htm"), input({true, false, false})));
        QStringList expected = HtmlHeaderLines(3, 1);
        expected << HtmlTitleLines("1 - ACME PHOTO EDITOR");
        const QStringList plain{"Registry Name : AcmeKey",
                                "Install Source : acme-InstallSource",
                                "Install Location : acme-InstallLocation",
                                "Uninstall String : acme-UninstallString",
                                "Install Date : acme-InstallDate",
                                "Publisher : acme-Publisher",
                                "Display Version : acme-DisplayVersion"};
        for (const QString& item : plain)
            expected << HtmlItemLines("<b>" + item + "</b><i></i></td>");
        const QString url = "https://acme.example/about?a=1&amp;b=2";
        expected << HtmlItemLines("<b>Publisher Url : <a href=\"" + url + "\"> " + url +
                                  "</a></b><i></i></td>")
                 << HtmlItemLines("<b>Support Url : N/A</b><i></i></td>") << HtmlFooterLines();
        // 33 header lines and the character set, 8 title lines, 45 item
        // lines, 4 footer lines, "</body>" and "</html>".
        QCOMPARE(expected.size(), 34 + 8 + 45 + 4 + 2);
        QCOMPARE(FileLines(file("full.htm")), expected);
    }

    void selectiveHtmlReport() {
        QVERIFY(WriteHtmlSelected(file("links.htm"), input({true, true, true}, {SupportUrlItem})));
        QStringList expected = HtmlHeaderLines(3, 3);
        expected << HtmlTitleLines("1 - ACME PHOTO EDITOR")
                 << HtmlItemLines("<b>Support Url : N/A</b><i></i></td>")
                 << HtmlTitleLines("2 - BÉTA TOOL")
                 << HtmlItemLines("<b>Support Url : <a href=\"mailto:help@beta.example\"> "
                                  "mailto:help@beta.example</a></b><i></i></td>")
                 << HtmlTitleLines("3 - &lt;SCRIPT&gt;ALERT(1)&lt;/SCRIPT&gt; &amp; CO")
                 << HtmlItemLines("<b>Support Url : &quot;&gt;&lt;script&gt;alert(2)&lt;/"
                                  "script&gt;</b><i></i></td>")
                 << HtmlFooterLines();
        QCOMPARE(FileLines(file("links.htm")), expected);
    }

    void noValueBecomesMarkupOrAScriptLink() {
        QVERIFY(WriteHtmlFull(file("xss.htm"), input({true, true, true})));
        const QString html = QString::fromUtf8(ReadFileBytes(file("xss.htm")));
        QVERIFY(!html.contains("<script", Qt::CaseInsensitive));
        QVERIFY(!html.contains("javascript:alert(1)\""));
        QVERIFY(html.contains("Publisher Url : javascript:alert(1)</b>"));
        // Every link goes to a web or mail address.
        const QRegularExpression href("href=\"([^\"]*)\"");
        int links = 0;
        for (const auto& m : href.globalMatch(html)) {
            ++links;
            QVERIFY2(IsLinkAddress(m.captured(1)), qPrintable(m.captured(1)));
        }
        QCOMPARE(links, 2);

        const struct {
            const char* value;
            bool link;
        } cases[] = {{"http://a", true},         {"HTTPS://a", true},     {"ftp://a", true},
                     {"mailto:a@b", true},       {"javascript:x", false}, {" http://a", false},
                     {"www.example.com", false}, {"file:///etc", false},  {"", false}};
        for (const auto& c : cases)
            QVERIFY2(IsLinkAddress(c.value) == c.link, c.value);
    }

    void theWriterFollowsTheFileTypeAndTheFullSwitch() {
        QVERIFY(ChooseReportWriter(1, true) == &WriteTextFull);
        QVERIFY(ChooseReportWriter(1, false) == &WriteTextSelected);
        QVERIFY(ChooseReportWriter(2, true) == &WriteHtmlFull);
        QVERIFY(ChooseReportWriter(0, false) == &WriteHtmlSelected);
    }

    void aReportThatCannotBeWrittenSaysWhyAndLeavesNothing() {
        const WriteResult full = WriteTextFull("/dev/full", input({true, true, true}));
        QVERIFY(!full);
        QVERIFY2(full.error.startsWith("cannot write /dev/full: "), qPrintable(full.error));
        const QString longName = app->folder.file(QString(300, 'r') + ".txt");
        const WriteResult tooLong = WriteHtmlFull(longName, input({true, false, false}));
        QVERIFY(!tooLong);
        QVERIFY(QDir(app->folder.path()).entryList({"rrrr*"}).isEmpty());
    }
};

QTEST_MAIN(ReportWriterTest)
#include "ReportWriterTest.moc"
