#include "reports/ReportWriter.h"

#include "core/UninstallEntries.h"

#include <QLocale>

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// Writes lines, each followed by CR LF, as UTF-8 without a byte-order mark.
class LineWriter {
public:
    explicit LineWriter(const QString& path) : out_(path) { ok_ = out_.open(); }
    void line(const QString& text) {
        if (ok_)
            ok_ = out_.write(QString(text + kCrLf).toUtf8());
    }
    WriteResult commit() {
        if (!ok_ || !out_.commit())
            return {out_.error()};
        return {};
    }

private:
    WholeFileWriter out_;
    bool ok_ = false;
};

// A start tag: "<name attr="value" ...>".
QString Tag(const char* name, std::initializer_list<std::pair<const char*, const char*>> attrs) {
    QString tag = u'<' + QLatin1String(name);
    for (const auto& [attr, value] : attrs)
        tag += u' ' + QLatin1String(attr) + QStringLiteral("=\"") + QLatin1String(value) + u'"';
    return tag + u'>';
}

QString InfoTable(const char* width, bool last) {
    if (last)
        return Tag("table", {{"border", "0"},
                             {"cellpadding", "0"},
                             {"cellspacing", "0"},
                             {"style", "border-collapse: collapse"},
                             {"bordercolor", "#111111"},
                             {"width", width},
                             {"height", "18"},
                             {"bgcolor", "#FFFFFF"}});
    return Tag("table", {{"border", "0"},
                         {"cellpadding", "0"},
                         {"cellspacing", "0"},
                         {"style", "border-collapse: collapse"},
                         {"bordercolor", "#111111"},
                         {"width", width},
                         {"height", "18"}});
}

// One five-line information table of the header.
QStringList InfoBlock(const QString& label, const QString& value, bool last) {
    return {InfoTable(last ? "720" : "802", last), QStringLiteral("  <tr>"),
            QStringLiteral("    ") + Tag("td", {{"width", "802"}, {"height", "18"}}) +
                QStringLiteral("<b>") + label + QStringLiteral("</b><i>") + value +
                QStringLiteral("</i></td>"),
            QStringLiteral("  </tr>"), QStringLiteral("</table>")};
}

QString ItemValue(const ReportInput& input, qsizetype n, int item) {
    if (item == RegistryNameItem)
        return input.programs[n - 1].key;
    return input.readValue(n, ReportItems()[item].valueName);
}

QString TitleText(qsizetype n, const QString& text) {
    return QString::number(n) + QStringLiteral(" - ") + text.toUpper();
}

// The positions to write, in list order.
template <typename Block> void ForEachChosen(const ReportInput& input, Block block) {
    qsizetype written = 0;
    for (qsizetype p = 0; p < input.programs.size(); ++p) {
        if (p >= input.chosen.size() || !input.chosen[p])
            continue;
        block(p + 1);
        if (input.progress)
            input.progress(++written);
    }
}

WriteResult WriteText(const QString& path, const ReportInput& input, bool full) {
    LineWriter out(path);
    out.line(
        TextHeader(input.computerName, input.userName, input.programs.size(), input.chosenCount()));
    const auto& items = ReportItems();
    ForEachChosen(input, [&](qsizetype n) {
        const QString title = TitleText(n, input.programs[n - 1].text);
        if (full) {
            out.line(title + kCrLf);
            for (int k = 0; k < 8; ++k)
                out.line(items[k].label + ItemValue(input, n, k));
            out.line(items[8].label + ItemValue(input, n, 8) + kCrLf);
            return;
        }
        out.line(kCrLf + title + kCrLf);
        for (int k = 0; k < 9; ++k)
            if (input.items[k])
                out.line(items[k].label + ItemValue(input, n, k));
    });
    const QString footer = TextFooter(input.now());
    out.line(full ? footer : kCrLf + kCrLf + footer);
    return out.commit();
}

QString ItemCell(const ReportInput& input, qsizetype n, int item) {
    const ReportItem& it = ReportItems()[item];
    const QString value = ItemValue(input, n, item);
    const bool address = item == PublisherUrlItem || item == SupportUrlItem;
    if (address && value != u"N/A" && IsLinkAddress(value)) {
        const QString escaped = HtmlEscape(value);
        return QStringLiteral("<b>") + it.label + QStringLiteral("<a href=\"") + escaped +
               QStringLiteral("\"> ") + escaped + QStringLiteral("</a></b><i></i></td>");
    }
    return QStringLiteral("<b>") + it.label + HtmlEscape(value) +
           QStringLiteral("</b><i></i></td>");
}

WriteResult WriteHtml(const QString& path, const ReportInput& input, bool full) {
    LineWriter out(path);
    out.line(
        HtmlHeader(input.computerName, input.userName, input.programs.size(), input.chosenCount()));
    const QString itemTable = Tag("table", {{"border", "0"},
                                            {"cellpadding", "0"},
                                            {"cellspacing", "0"},
                                            {"style", "border-collapse: collapse"},
                                            {"bordercolor", "#111111"},
                                            {"width", "720"},
                                            {"height", "14"},
                                            {"dir", "ltr"},
                                            {"bgcolor", "#CBDBF8"}});
    const QString itemCell =
        QStringLiteral("    ") + Tag("td", {{"width", "100%"}, {"height", "20"}});
    const QString titleTable =
        QStringLiteral("  ") + Tag("table", {{"border", "1"},
                                             {"cellpadding", "0"},
                                             {"cellspacing", "0"},
                                             {"style", "border-collapse: collapse"},
                                             {"bordercolor", "#3366FF"},
                                             {"width", "720"},
                                             {"height", "18"},
                                             {"bgcolor", "#6699FF"},
                                             {"dir", "ltr"}});
    const QString titleCell =
        QStringLiteral("      ") + Tag("td", {{"width", "720"}, {"height", "18"}});
    ForEachChosen(input, [&](qsizetype n) {
        out.line(Tag("p", {{"style", "word-spacing: 0"}}) + QStringLiteral("&nbsp;</p>"));
        out.line(Tag("div", {{"align", "left"}}));
        out.line(titleTable);
        out.line(QStringLiteral("    <tr>"));
        out.line(titleCell + QStringLiteral("<b>") +
                 HtmlEscape(TitleText(n, input.programs[n - 1].text)) +
                 QStringLiteral("</b></td>"));
        out.line(QStringLiteral("    </tr>"));
        out.line(QStringLiteral("  </table>"));
        out.line(QStringLiteral("</div>"));
        for (int k = 0; k < 9; ++k) {
            if (!full && !input.items[k])
                continue;
            out.line(itemTable);
            out.line(QStringLiteral("  <tr>"));
            out.line(itemCell + ItemCell(input, n, k));
            out.line(QStringLiteral("  </tr>"));
            out.line(QStringLiteral("</table>"));
        }
    });
    out.line(HtmlFooter(input.now()));
    out.line(QStringLiteral("</body>"));
    out.line(QStringLiteral("</html>"));
    return out.commit();
}

} // namespace

const std::array<ReportItem, 9>& ReportItems() {
    static const std::array<ReportItem, 9> items{{
        {QStringLiteral("Registry Name"), QString(), QStringLiteral("Registry Name : ")},
        {QStringLiteral("Install Source"), QStringLiteral("InstallSource"),
         QStringLiteral("Install Source : ")},
        {QStringLiteral("Install Location"), QStringLiteral("InstallLocation"),
         QStringLiteral("Install Location : ")},
        {QStringLiteral("Uninstall String"), QStringLiteral("UninstallString"),
         QStringLiteral("Uninstall String : ")},
        {QStringLiteral("Install Date"), QStringLiteral("InstallDate"),
         QStringLiteral("Install Date : ")},
        {QStringLiteral("Publisher"), QStringLiteral("Publisher"), QStringLiteral("Publisher : ")},
        {QStringLiteral("Display Version"), QStringLiteral("DisplayVersion"),
         QStringLiteral("Display Version : ")},
        {QStringLiteral("Publisher Url"), QStringLiteral("URLInfoAbout"),
         QStringLiteral("Publisher Url : ")},
        {QStringLiteral("Support Url"), QStringLiteral("HelpLink"),
         QStringLiteral("Support Url : ")},
    }};
    return items;
}

QString ReadReportValue(UninstallEntries& entries, const QList<ListedProgram>& programs,
                        qsizetype n, const QString& valueName) {
    if (n < 1 || n > programs.size())
        return QStringLiteral("N/A");
    const QString text = entries.value(programs[n - 1].key, valueName);
    return text.isEmpty() ? QStringLiteral("N/A") : text;
}

qsizetype ReportInput::chosenCount() const {
    return std::count(chosen.cbegin(), chosen.cend(), true);
}

QString GeneralDateText(const QDateTime& when) {
    const QLocale locale;
    const QString date = locale.toString(when.date(), QLocale::ShortFormat);
    if (when.time() == QTime(0, 0))
        return date;
    return date + u' ' + locale.toString(when.time(), QLocale::LongFormat);
}

QString TextHeader(const QString& computerName, const QString& userName, qsizetype programs,
                   qsizetype chosen) {
    return QString(27, u' ') + QStringLiteral("Installed Programs Report") + kCrLf + kCrLf +
           QStringLiteral("Computer Name : ") + computerName + kCrLf +
           QStringLiteral("User Name : ") + userName + kCrLf +
           QStringLiteral("Installed Programs : ") + QString::number(programs) + kCrLf +
           QStringLiteral("Current Selected Programs : ") + QString::number(chosen) + kCrLf;
}

QString TextFooter(const QDateTime& when) {
    const QString rule(43, u'-');
    return QStringList{rule, QStringLiteral("-  Installed Programs Report              -"),
                       QStringLiteral("-  Created in : ") + GeneralDateText(when) +
                           QStringLiteral("      -"),
                       QStringLiteral("-  Created By Relvano           -"), rule}
        .join(kCrLf);
}

QString HtmlEscape(const QString& text) {
    QString escaped;
    escaped.reserve(text.size());
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'&':
            escaped += QStringLiteral("&amp;");
            break;
        case u'<':
            escaped += QStringLiteral("&lt;");
            break;
        case u'>':
            escaped += QStringLiteral("&gt;");
            break;
        case u'"':
            escaped += QStringLiteral("&quot;");
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

bool IsLinkAddress(const QString& value) {
    const qsizetype colon = value.indexOf(u':');
    if (colon <= 0)
        return false;
    const QString scheme = value.left(colon).toLower();
    return scheme == u"http" || scheme == u"https" || scheme == u"ftp" || scheme == u"mailto";
}

QString HtmlHeader(const QString& computerName, const QString& userName, qsizetype programs,
                   qsizetype chosen) {
    QStringList lines{
        QStringLiteral("<head>"),
        // Names and values are UTF-8; without this a browser guesses a
        // Western code page and garbles them.
        QStringLiteral("<meta charset=\"utf-8\">"),
        QStringLiteral("<title>Installed Programs Report</title>"),
        QStringLiteral("</head>"),
        QStringLiteral("<body>"),
        Tag("body", {{"link", "#0066FF"}}),
        Tag("div", {{"align", "left"}}),
        QStringLiteral("  ") + Tag("table", {{"border", "1"},
                                             {"cellpadding", "0"},
                                             {"cellspacing", "0"},
                                             {"style", "border-collapse: collapse"},
                                             {"bordercolor", "#000000"},
                                             {"width", "720"},
                                             {"height", "20"},
                                             {"bgcolor", "#CBDBF8"}}),
        QStringLiteral("    <tr>"),
        QStringLiteral("      ") + Tag("td", {{"width", "720"}, {"height", "20"}}),
        QStringLiteral("      ") + Tag("p", {{"align", "center"}}) +
            QStringLiteral("<blink><font face=\"Traditional Arabic\"><b>Installed Programs "
                           "Report</b></font></blink></td>"),
        QStringLiteral("    </tr>"),
        QStringLiteral("  </table>"),
        QStringLiteral("</div>"),
    };
    lines << InfoBlock(QStringLiteral("Computer Name : "), HtmlEscape(computerName), false)
          << InfoBlock(QStringLiteral("User Name : "), HtmlEscape(userName), false)
          << InfoBlock(QStringLiteral("Installed Programs : "), QString::number(programs), false)
          << InfoBlock(QStringLiteral("Selected Programs : "), QString::number(chosen), true);
    return lines.join(kCrLf);
}

QString HtmlFooter(const QDateTime& when) {
    const QString center = Tag("p", {{"align", "center"}});
    return QStringList{
        center + QStringLiteral("<b>Installed Programs Report</b></p>"),
        center + QStringLiteral("Created in : ") + HtmlEscape(GeneralDateText(when)) +
            QStringLiteral("</p>"),
        center + QStringLiteral("Created By <b><font color=\"#0066FF\">Relvano</font></b>"),
        center + QStringLiteral("&nbsp;</p>")}
        .join(kCrLf);
}

WriteResult WriteTextFull(const QString& path, const ReportInput& input) {
    return WriteText(path, input, true);
}

WriteResult WriteTextSelected(const QString& path, const ReportInput& input) {
    return WriteText(path, input, false);
}

WriteResult WriteHtmlFull(const QString& path, const ReportInput& input) {
    return WriteHtml(path, input, true);
}

WriteResult WriteHtmlSelected(const QString& path, const ReportInput& input) {
    return WriteHtml(path, input, false);
}

ReportWriterFunction ChooseReportWriter(int filterIndex, bool fullReport) {
    if (filterIndex == 1)
        return fullReport ? &WriteTextFull : &WriteTextSelected;
    return fullReport ? &WriteHtmlFull : &WriteHtmlSelected;
}
