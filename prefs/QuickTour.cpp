#include "prefs/QuickTour.h"

namespace {
QString Lines(std::initializer_list<const char*> lines) {
    QStringList texts;
    for (const char* line : lines)
        texts.append(QString::fromUtf8(line));
    return texts.join(QStringLiteral("\r\n"));
}
} // namespace

QStringList TourPages() {
    return {
        Lines({"Welcome to Relvano", "", "Relvano is a tool designed to help you",
               "to install or uninstall your programs", "it also can be used by the beginners and",
               "professional users."}),
        Lines({"Add New Program to your computer", "",
               "You can install a new program to your computer by",
               "clicking File menu then click Add New Program ",
               "or click on Add button in the tool bar"}),
        Lines({"Uninsatalling a program from your computer", "",
               "You can uninstall a program from your computer",
               "by selecting the program from the installed programs",
               "list by clicking File menu then click",
               "Uninstall Program or click on Uninstall button", "in the tool bar."}),
        Lines({"You can search for a program in the install programs by",
               "clicking edit menu then click Find or click on", "Find button from the tool bar."}),
        Lines({"You can also generate a list for the installed programs in",
               "your computer and save it to a text file by",
               "clicking File menu then click Programs List"}),
        Lines({"Relvano can create a full report",
               "for the installed programs and you can select the",
               "information you want to include in the report.",
               "also you can save this report in a text file or", "in html file (Web Page).",
               "If you want to create a report clcik file menu the click", "Report."}),
        Lines({"Finally you can change the basic mode (Defalut Mode)",
               "to advanced mode if you are a professional user",
               "(this mode for expert users only)"}),
    };
}

QString TourTitle() {
    return Lines({"Welcome to : ", " Relvano", "  Quick Tour"});
}
