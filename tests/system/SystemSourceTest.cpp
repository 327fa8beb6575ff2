// The system source on a synthetic machine: every reader, every rule of what
// counts as an application, who owns it and what its entry holds; then the
// sync against a store that also holds an installer's and a person's entries.
#include "core/AppContext.h"
#include "core/IniFile.h"
#include "core/SqliteStore.h"
#include "system/DesktopEntry.h"
#include "system/SyncStore.h"
#include "system/SystemSync.h"
#include "tests/support/TestEnv.h"
#include "tests/system/FakeRoot.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QProcess>

#include <cstring>

#include <gtest/gtest.h>

namespace {

const QDateTime kListTime(QDate(2024, 3, 15), QTime(12, 0), Qt::UTC);
const QDateTime kOtherTime(QDate(2023, 11, 2), QTime(12, 0), Qt::UTC);

QString Hash12(const QString& text) {
    return QString::fromLatin1(
        QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha256).toHex().left(12));
}

// A machine with one of everything.
void BuildMachine(FakeRoot& r) {
    // A packaged editor with a terminal program, localised names, an icon in
    // several sizes and a metainfo file.
    r.executable("/usr/bin/vim");
    r.package(
        {"vim-common",
         "2:9.0.1378-2",
         "all",
         "install ok installed",
         "Installed-Size: 245\nMaintainer: Debian Vim Maintainers <team+vim@tracker.debian.org>\n"
         "Homepage: https://www.vim.org/\nPriority: important",
         {"/usr/share/applications/vim.desktop", "/usr/share/vim/vimrc"}},
        kListTime);
    r.desktop("/usr/share/applications/vim.desktop",
              "Name=Vim\nName[de]=Vim (de)\nName[de_AT]=Vim (at)\nGenericName=Text Editor\n"
              "TryExec=vim\nExec=vim %F\nTerminal=true\nType=Application\nIcon=gvim\n"
              "Keywords=Text;editor;\n\n[Desktop Action new]\nName=Other\nType=Link");
    r.write("/usr/share/icons/hicolor/16x16/apps/gvim.png", "png");
    r.write("/usr/share/icons/hicolor/48x48/apps/gvim.png", "png");
    r.write("/usr/share/icons/hicolor/scalable/apps/gvim.svg", "svg");

    // Values holding ';', quotes, escapes, a metainfo file with developer and
    // help address, a package with two entries.
    r.executable("/usr/bin/tj");
    r.package({"tomjerry",
               "1:2.5-3",
               "amd64",
               "install ok installed",
               "Homepage: https://tj.example.org/",
               {"/usr/share/applications/org.example.TomJerry.desktop",
                "/usr/share/applications/tomjerry-settings.desktop", "/usr/lib/tomjerry/tj",
                "/usr/share/metainfo/org.example.TomJerry.metainfo.xml"}},
              kListTime);
    r.desktop("/usr/share/applications/org.example.TomJerry.desktop",
              "Type=Application\nName=Tom; Jerry \"Deluxe\",\\sEdition\n"
              "Exec=\"/usr/bin/tj\" --title \"A \\\\\"quoted\\\\\" title\" %U\nIcon=tomjerry");
    r.desktop("/usr/share/applications/tomjerry-settings.desktop",
              "Type=Application\nName=Tom & Jerry Settings\nExec=tj --settings");
    r.write("/usr/share/pixmaps/tomjerry.xpm", "xpm");
    r.write("/usr/share/metainfo/org.example.TomJerry.metainfo.xml",
            R"(<?xml version="1.0" encoding="UTF-8"?>
<component type="desktop-application">
  <id>org.example.TomJerry</id>
  <name>Tom and Jerry</name>
  <developer_name xml:lang="de">Die Entwickler</developer_name>
  <developer_name>Cat &amp; Mouse Ltd</developer_name>
  <description><p>Chases.</p><p><developer_name>not this</developer_name></p></description>
  <url type="homepage">https://meta.example.org/</url>
  <url type="help">https://help.example.org/</url>
  <launchable type="desktop-id">org.example.TomJerry.desktop</launchable>
  <releases><release version="2.5" date="2024-01-01"/><release version="2.4"/></releases>
</component>)");

    // Multi-arch: a package installed for two architectures, and one whose
    // list is named with its architecture but installed once.
    for (const char* arch : {"amd64", "i386"})
        r.package({"twoarch",
                   "3.0",
                   QString::fromLatin1(arch),
                   "install ok installed",
                   "Multi-Arch: same",
                   {"/usr/share/applications/twoarch-" + QString::fromLatin1(arch) + ".desktop"},
                   true},
                  kListTime);
    r.desktop("/usr/share/applications/twoarch-amd64.desktop", "Type=Application\nName=Two Arch");
    r.desktop("/usr/share/applications/twoarch-i386.desktop", "Type=Application\nName=Two Arch 32");
    r.package({"onearch",
               "4.1",
               "amd64",
               "install ok installed",
               "Multi-Arch: same",
               {"/usr/share/applications/kde/onearch.desktop"},
               true},
              kListTime);
    r.desktop("/usr/share/applications/kde/onearch.desktop",
              "Type=Application\nName=One Arch\nIcon=/usr/share/onearch/icon.png");
    r.write("/usr/share/onearch/icon.png", "png");

    // The system must keep these.
    r.package({"coreapp",
               "1.0",
               "amd64",
               "install ok installed",
               "Essential: yes",
               {"/usr/share/applications/coreapp.desktop"}},
              kListTime);
    r.desktop("/usr/share/applications/coreapp.desktop", "Type=Application\nName=Core App");
    r.package({"reqapp",
               "1.0",
               "amd64",
               "install ok installed",
               "Priority: required",
               {"/usr/share/applications/reqapp.desktop"}},
              kListTime);
    r.desktop("/usr/share/applications/reqapp.desktop", "Type=Application\nName=Required App");

    // Entries that do not count, each owned by a package of its own.
    const QList<std::pair<QString, QString>> dropped{
        {"nodisplay", "Type=Application\nName=Hidden Helper\nNoDisplay=true"},
        {"hidden", "Type=Application\nName=Deleted\nHidden=true"},
        {"ignored", "Type=Application\nName=Ignored\nX-AppStream-Ignore=true"},
        {"link", "Type=Link\nName=A Link\nURL=https://example.org/"},
        {"notry", "Type=Application\nName=Gone\nTryExec=/usr/bin/not-there"},
        {"notrypath", "Type=Application\nName=Gone Too\nTryExec=not-there-either"},
        {"noname", "Type=Application\nExec=noname"},
        {"notype", "Name=No Type"},
        {"userhidden", "Type=Application\nName=Hidden By The User"}};
    for (const auto& [name, lines] : dropped) {
        r.package({name,
                   "1",
                   "amd64",
                   "install ok installed",
                   QString(),
                   {"/usr/share/applications/" + name + ".desktop"}},
                  kListTime);
        r.desktop("/usr/share/applications/" + name + ".desktop", lines);
    }
    // Not an entry at all: no [Desktop Entry] group.
    r.write("/usr/share/applications/broken.desktop", "[Something Else]\nName=Broken\n");
    // A person hides one packaged entry and renames another with copies of
    // their own.
    r.desktop(FakeRoot::dataHome() + "/applications/userhidden.desktop",
              "Type=Application\nName=Hidden By The User\nNoDisplay=true");
    r.desktop(FakeRoot::dataHome() + "/applications/coreapp.desktop",
              "Type=Application\nName=My Core App");

    // A package removed but for its configuration: its stale entry is manual.
    r.package({"removed",
               "1",
               "amd64",
               "deinstall ok config-files",
               QString(),
               {"/usr/share/applications/removed.desktop"}},
              kListTime);
    r.desktop("/usr/share/applications/removed.desktop", "Type=Application\nName=Leftover");

    // Nothing owns this one.
    r.desktop("/usr/local/share/applications/mytool.desktop",
              "Type=Application\nName=My Tool\nIcon=python3.11");
    r.write("/usr/share/pixmaps/python3.11.xpm", "xpm");
    FakeRoot::setMtime(r.file("/usr/local/share/applications/mytool.desktop"), kOtherTime);

    // Flatpak: a system app with its metainfo, remote and icon.
    const QString fp = "/var/lib/flatpak";
    r.desktop(fp + "/exports/share/applications/org.gnome.Maps.desktop",
              "Type=Application\nName=Maps\nExec=/usr/bin/flatpak run --branch=stable "
              "--arch=x86_64 --command=gnome-maps org.gnome.Maps\nIcon=org.gnome.Maps\n"
              "X-Flatpak=org.gnome.Maps");
    r.write(fp + "/exports/share/icons/hicolor/128x128/apps/org.gnome.Maps.png", "png");
    r.symlink(fp + "/app/org.gnome.Maps/current", "x86_64/stable");
    r.write(fp + "/app/org.gnome.Maps/x86_64/stable/abc123/files/share/metainfo/"
                 "org.gnome.Maps.metainfo.xml",
            R"(<component type="desktop-application"><id>org.gnome.Maps</id>
<developer id="org.gnome"><name>The GNOME Project</name></developer>
<url type="homepage">https://apps.gnome.org/Maps/</url>
<releases><release version="43.1"/></releases></component>)");
    r.symlink(fp + "/app/org.gnome.Maps/x86_64/stable/active", "abc123");
    FakeRoot::setMtime(r.file(fp + "/app/org.gnome.Maps/x86_64/stable/active"), kListTime);
    r.write(fp + "/repo/refs/remotes/flathub/app/org.gnome.Maps/x86_64/stable", "abc123");
    // A user Flatpak, and an exported entry whose app is not deployed.
    const QString ufp = FakeRoot::dataHome() + "/flatpak";
    r.desktop(ufp + "/exports/share/applications/org.example.Notes.desktop",
              "Type=Application\nName=Notes\nX-Flatpak=org.example.Notes");
    r.symlink(ufp + "/app/org.example.Notes/current", "aarch64/beta");
    QDir().mkpath(r.file(ufp + "/app/org.example.Notes/aarch64/beta/def456"));
    r.symlink(ufp + "/app/org.example.Notes/aarch64/beta/active", "def456");
    r.desktop(fp + "/exports/share/applications/org.example.Ghost.desktop",
              "Type=Application\nName=Ghost\nX-Flatpak=org.example.Ghost");

    // Snap.
    r.desktop("/var/lib/snapd/desktop/applications/hello_hello.desktop",
              "Type=Application\nName=Hello\nExec=/snap/bin/hello\n"
              "Icon=/snap/hello/27/meta/gui/icon.png\nX-SnapInstanceName=hello");
    r.write("/snap/hello/27/meta/gui/icon.png", "png");
    r.write("/snap/hello/27/meta/snap.yaml",
            "name: hello\nversion: '2.10'\nwebsite: https://hello.example.org\napps:\n  hello:\n"
            "    command: bin/hello\n    version: nested\n");
    r.symlink("/snap/hello/current", "27");
    FakeRoot::setMtime(r.file("/snap/hello/current"), kListTime);
    r.write("/var/lib/snapd/snaps/hello_27.snap", QByteArray(4097, 'x'));

    // AppImage, installed by an integration tool into the person's folders,
    // and one whose file is gone.
    r.write("/home/u/Apps/My Tool.AppImage", QByteArray(2048, 'a'), kListTime);
    r.desktop(FakeRoot::dataHome() + "/applications/appimagekit_mytool.desktop",
              "Type=Application\nName=My AppImage Tool\n"
              "Exec=env APPIMAGE_SILENT=1 \"/home/u/Apps/My Tool.AppImage\" %U\n"
              "Icon=appimagekit_mytool\nX-AppImage-Version=1.2.3");
    r.write(FakeRoot::dataHome() + "/icons/hicolor/256x256/apps/appimagekit_mytool.png", "png");
    r.desktop(FakeRoot::dataHome() + "/applications/appimagekit_gone.desktop",
              "Type=Application\nName=Gone AppImage\nExec=/home/u/Apps/Gone.AppImage");

    r.writeStatus();
}

using Values = QMap<QString, QString>;

// An entry's values as text; DWORDs as "dword:N".
Values ReadEntry(SqliteStore& store, const QString& key) {
    QList<RegValue> values;
    KeyPath path{RootKey::LocalMachine,
                 {"SOFTWARE", "Microsoft", "Windows", "CurrentVersion", "Uninstall", key}};
    Values out;
    if (!store.readKey(path, &values, nullptr).ok())
        return out;
    for (const RegValue& v : values) {
        if (v.type == RegType::Dword) {
            quint32 n = 0;
            memcpy(&n, v.data.constData(), 4);
            out.insert(v.name, "dword:" + QString::number(n));
        } else {
            out.insert(v.name, ValueAsText(v.type, v.data));
        }
    }
    return out;
}

QStringList Subkeys(SqliteStore& store) {
    QStringList names;
    store.EnumSubkeys(RootKey::LocalMachine, AppContext::UninstallKeyPath, names);
    return names;
}

QString Command(const QString& kind, const QString& id) {
    return FakeRoot::uninstaller() + " " + kind + " " + id;
}

class SystemSourceTest : public ::testing::Test {
protected:
    FakeRoot root;
    TempProgramFolder folder;
    QString storeFile = folder.storePath();
    void SetUp() override { BuildMachine(root); }
    SyncResult Sync(const QString& locale = "de_DE.UTF-8") {
        SystemSync sync(root.layout(locale), storeFile);
        return sync.run();
    }
};

} // namespace

TEST(DesktopEntryTest, ValuesEscapesLocalesAndGroups) {
    const auto e = DesktopEntry::parse("\xEF\xBB\xBF# comment\r\n[Desktop Entry]\r\n"
                                       "Name = Tom; Jerry, \"x\" \\s\\\\ \\; \\q\r\n"
                                       "Name[de_DE@euro]=Euro\nName[de]=Deutsch\nName[fr]=\n"
                                       "NoDisplay=true\nHidden=false\nName=second wins not\n"
                                       "[Desktop Action x]\nExec=other\n");
    ASSERT_TRUE(e.has_value());
    EXPECT_EQ(e->value("Name"), "Tom; Jerry, \"x\"  \\ \\; \\q");
    EXPECT_EQ(e->localized("Name", "de_DE.UTF-8@euro"), "Euro");
    EXPECT_EQ(e->localized("Name", "de_AT.UTF-8"), "Deutsch");
    EXPECT_EQ(e->localized("Name", "fr_FR"), e->value("Name")); // empty translation
    EXPECT_EQ(e->localized("Name", "C.UTF-8"), e->value("Name"));
    EXPECT_TRUE(e->flag("NoDisplay"));
    EXPECT_FALSE(e->flag("Hidden"));
    EXPECT_FALSE(e->has("Exec")); // only the [Desktop Entry] group counts
    EXPECT_FALSE(DesktopEntry::parse("[Other]\nName=x\n").has_value());
}

TEST(DesktopEntryTest, ExecArguments) {
    const QList<std::pair<QString, QStringList>> cases{
        {"vim %F", {"vim"}},
        {"\"/opt/My App/run\" --x=%f -- %%done", {"/opt/My App/run", "--x=", "--", "%done"}},
        {"sh -c \"echo \\\"hi\\\" \\$HOME\"", {"sh", "-c", "echo \"hi\" $HOME"}},
        {"'/home/u/A B.AppImage' %U", {"/home/u/A B.AppImage"}},
        {"prog \"\" %i %c %k", {"prog", ""}},
    };
    for (const auto& [exec, args] : cases)
        EXPECT_EQ(DesktopEntry::splitExec(exec), args) << exec.toStdString();
}

TEST_F(SystemSourceTest, EntriesOfTheMachine) {
    const SyncResult result = Sync();
    ASSERT_TRUE(result.ok) << result.error.toStdString();
    SqliteStore store(storeFile);
    const QString appImageId = Hash12("/home/u/Apps/My Tool.AppImage");
    EXPECT_EQ(Subkeys(store),
              QStringList({"appimage:" + appImageId, "deb:coreapp", "deb:onearch", "deb:reqapp",
                           "deb:tomjerry", "deb:twoarch:amd64", "deb:twoarch:i386",
                           "deb:vim-common", "flatpak:system:app/org.gnome.Maps/x86_64/stable",
                           "flatpak:user:app/org.example.Notes/aarch64/beta",
                           "manual:mytool.desktop", "manual:removed.desktop", "snap:hello"}));
    EXPECT_EQ(result.added, 13);

    const QString date = "20240315";
    const QMap<QString, Values> expected{
        {"deb:vim-common",
         {{"DisplayName", "Vim (de)"},
          {"DisplayIcon", root.file("/usr/share/icons/hicolor/48x48/apps/gvim.png")},
          {"DisplayVersion", "9.0.1378-2"},
          {"Publisher", "Debian Vim Maintainers"},
          {"InstallDate", date},
          {"EstimatedSize", "dword:245"},
          {"URLInfoAbout", "https://www.vim.org/"},
          {"UninstallString", Command("deb", "vim-common")},
          {"RelvanoSource", "deb"}}},
        {"deb:tomjerry",
         {{"DisplayName", "Tom; Jerry \"Deluxe\", Edition"},
          {"DisplayIcon", root.file("/usr/share/pixmaps/tomjerry.xpm")},
          {"DisplayVersion", "2.5-3"},
          {"Publisher", "Cat & Mouse Ltd"},
          {"InstallDate", date},
          {"InstallLocation", root.file("/usr/lib/tomjerry")},
          {"EstimatedSize", "dword:100"},
          {"URLInfoAbout", "https://tj.example.org/"},
          {"HelpLink", "https://help.example.org/"},
          {"UninstallString", Command("deb", "tomjerry")},
          {"RelvanoSource", "deb"}}},
        {"deb:onearch",
         {{"DisplayName", "One Arch"},
          {"DisplayIcon", root.file("/usr/share/onearch/icon.png")},
          {"DisplayVersion", "4.1"},
          {"Publisher", "Some One"},
          {"InstallDate", date},
          {"EstimatedSize", "dword:100"},
          {"UninstallString", Command("deb", "onearch")},
          {"RelvanoSource", "deb"}}},
        {"deb:coreapp",
         {{"DisplayName", "My Core App"},
          {"DisplayVersion", "1.0"},
          {"Publisher", "Some One"},
          {"InstallDate", date},
          {"EstimatedSize", "dword:100"},
          {"UninstallString", Command("deb", "coreapp")},
          {"NoRemove", "dword:1"},
          {"RelvanoSource", "deb"}}},
        {"manual:mytool.desktop",
         {{"DisplayName", "My Tool"},
          {"DisplayIcon", root.file("/usr/share/pixmaps/python3.11.xpm")},
          {"InstallDate", "20231102"},
          {"NoRemove", "dword:1"},
          {"RelvanoSource", "manual"}}},
        {"flatpak:system:app/org.gnome.Maps/x86_64/stable",
         {{"DisplayName", "Maps"},
          {"DisplayIcon",
           root.file(
               "/var/lib/flatpak/exports/share/icons/hicolor/128x128/apps/org.gnome.Maps.png")},
          {"DisplayVersion", "43.1"},
          {"Publisher", "The GNOME Project"},
          {"InstallDate", date},
          {"InstallLocation", root.file("/var/lib/flatpak/app/org.gnome.Maps")},
          {"InstallSource", "flathub"},
          {"URLInfoAbout", "https://apps.gnome.org/Maps/"},
          {"UninstallString", Command("flatpak", "system:app/org.gnome.Maps/x86_64/stable")},
          {"RelvanoSource", "flatpak"}}},
        {"snap:hello",
         {{"DisplayName", "Hello"},
          {"DisplayIcon", root.file("/snap/hello/27/meta/gui/icon.png")},
          {"DisplayVersion", "2.10"},
          {"InstallDate", date},
          {"InstallLocation", root.file("/snap/hello")},
          {"InstallSource", root.file("/var/lib/snapd/snaps/hello_27.snap")},
          {"EstimatedSize", "dword:5"},
          {"URLInfoAbout", "https://hello.example.org"},
          {"UninstallString", Command("snap", "hello")},
          {"RelvanoSource", "snap"}}},
        {"appimage:" + appImageId,
         {{"DisplayName", "My AppImage Tool"},
          {"DisplayIcon",
           root.file(FakeRoot::dataHome() + "/icons/hicolor/256x256/apps/appimagekit_mytool.png")},
          {"DisplayVersion", "1.2.3"},
          {"InstallDate", date},
          {"InstallLocation", root.file("/home/u/Apps")},
          {"EstimatedSize", "dword:2"},
          {"UninstallString", Command("appimage", appImageId)},
          {"RelvanoSource", "appimage"}}},
    };
    for (auto it = expected.cbegin(); it != expected.cend(); ++it)
        EXPECT_EQ(ReadEntry(store, it.key()), *it) << it.key().toStdString();

    // Values in creation order, as an installer would write them.
    QStringList names;
    store.EnumValueNames(RootKey::LocalMachine, AppContext::UninstallKeyPath + "deb:tomjerry",
                         names);
    EXPECT_EQ(names, QStringList({"DisplayName", "DisplayIcon", "DisplayVersion", "Publisher",
                                  "InstallDate", "InstallLocation", "EstimatedSize", "URLInfoAbout",
                                  "HelpLink", "UninstallString", "RelvanoSource"}));
    // Details of the remaining entries.
    EXPECT_EQ(ReadEntry(store, "deb:twoarch:i386").value("DisplayName"), "Two Arch 32");
    EXPECT_EQ(ReadEntry(store, "deb:twoarch:i386").value("UninstallString"),
              Command("deb", "twoarch:i386"));
    EXPECT_EQ(ReadEntry(store, "deb:reqapp").value("NoRemove"), "dword:1");
    EXPECT_EQ(ReadEntry(store, "flatpak:user:app/org.example.Notes/aarch64/beta")
                  .value("UninstallString"),
              Command("flatpak", "user:app/org.example.Notes/aarch64/beta"));
    EXPECT_EQ(ReadEntry(store, "manual:removed.desktop").value("DisplayName"), "Leftover");
}

TEST_F(SystemSourceTest, NamesFollowTheLocale) {
    SystemSource source(root.layout("de_AT.UTF-8"));
    const auto scan = source.scan();
    ASSERT_TRUE(scan.ok);
    auto name = [&](const QString& key) {
        for (const SystemApp& app : scan.apps) {
            if (app.key == key)
                return app.displayName;
        }
        return QString();
    };
    EXPECT_EQ(name("deb:vim-common"), "Vim (at)");
    SystemSource plain(root.layout("C.UTF-8"));
    for (const SystemApp& app : plain.scan().apps) {
        if (app.key == "deb:vim-common") {
            EXPECT_EQ(app.displayName, "Vim");
        }
    }
}

TEST_F(SystemSourceTest, SyncAddsUpdatesDeletesOnlyItsOwnEntries) {
    // An installer's entry, a person's entry with a name the source would
    // use, both there before the first sync.
    {
        SqliteStore store(storeFile);
        store.SetStringValue(RootKey::LocalMachine, AppContext::UninstallKeyPath + "Foo App",
                             "DisplayName", "Foo App");
        store.SetStringValue(RootKey::LocalMachine, AppContext::UninstallKeyPath + "Foo App",
                             "UninstallString", "/opt/foo/uninstall");
        store.SetStringValue(RootKey::LocalMachine, AppContext::UninstallKeyPath + "snap:hello",
                             "DisplayName", "My own hello");
    }
    SyncResult first = Sync();
    ASSERT_TRUE(first.ok);
    EXPECT_EQ(first.added, 12);
    EXPECT_EQ(first.skipped, 1);

    // A person's own value on an owned entry.
    {
        SqliteStore store(storeFile);
        store.SetStringValue(RootKey::LocalMachine, AppContext::UninstallKeyPath + "deb:vim-common",
                             "Comments", "mine");
    }
    // The machine changes: a new version, a removed package, a new package,
    // a metainfo losing its help address.
    FakePackage vim = root.packages().first();
    ASSERT_EQ(vim.name, "vim-common");
    vim.version = "2:9.1-1";
    root.package(vim, kListTime);
    root.removePackage("onearch");
    root.remove("/usr/share/applications/kde/onearch.desktop");
    root.package({"newapp",
                  "0.1",
                  "amd64",
                  "install ok installed",
                  QString(),
                  {"/usr/share/applications/newapp.desktop"}},
                 kListTime);
    root.desktop("/usr/share/applications/newapp.desktop", "Type=Application\nName=New App");
    const QString meta = "/usr/share/metainfo/org.example.TomJerry.metainfo.xml";
    QByteArray xml = ReadFileBytes(root.file(meta));
    xml.replace("<url type=\"help\">https://help.example.org/</url>", "");
    root.write(meta, xml);
    root.writeStatus();

    const SyncResult second = Sync();
    ASSERT_TRUE(second.ok);
    EXPECT_EQ(second.added, 1);
    EXPECT_EQ(second.updated, 2);
    EXPECT_EQ(second.removed, 1);

    SqliteStore store(storeFile);
    const Values vimEntry = ReadEntry(store, "deb:vim-common");
    EXPECT_EQ(vimEntry.value("DisplayVersion"), "9.1-1");
    EXPECT_EQ(vimEntry.value("Comments"), "mine");
    EXPECT_FALSE(ReadEntry(store, "deb:tomjerry").contains("HelpLink"));
    EXPECT_TRUE(ReadEntry(store, "deb:onearch").isEmpty());
    EXPECT_EQ(ReadEntry(store, "deb:newapp").value("DisplayName"), "New App");
    EXPECT_EQ(ReadEntry(store, "Foo App"),
              (Values{{"DisplayName", "Foo App"}, {"UninstallString", "/opt/foo/uninstall"}}));
    EXPECT_EQ(ReadEntry(store, "snap:hello"), (Values{{"DisplayName", "My own hello"}}));

    // Turned off: only the source's entries go.
    SystemSync sync(root.layout(), storeFile);
    const SyncResult cleared = sync.clear();
    ASSERT_TRUE(cleared.ok);
    EXPECT_EQ(cleared.removed, 12);
    EXPECT_EQ(Subkeys(store), QStringList({"Foo App", "snap:hello"}));
}

TEST_F(SystemSourceTest, UnchangedMachineWritesNothing) {
    ASSERT_TRUE(Sync().ok);
    auto snapshot = [this] {
        QList<QByteArray> files;
        for (const char* suffix : {"", "-wal"})
            files.append(ReadFileBytes(storeFile + QString::fromLatin1(suffix)));
        return files;
    };
    const auto before = snapshot();
    // A new sync object (cold) and a kept one (warm) alike.
    SystemSync sync(root.layout("de_DE.UTF-8"), storeFile);
    for (int i = 0; i < 2; ++i) {
        const SyncResult r = sync.run();
        ASSERT_TRUE(r.ok);
        EXPECT_FALSE(r.changed());
    }
    // The database as it was, and no page in its write-ahead log.
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(QFileInfo(storeFile + "-wal").size(), 0);
}

TEST_F(SystemSourceTest, WarmScanSeesChangedFiles) {
    SystemSource source(root.layout());
    ASSERT_TRUE(source.scan().ok);
    // Same size, new content and time: seen through the stamp.
    root.desktop("/usr/share/applications/reqapp.desktop", "Type=Application\nName=Required Ap2");
    FakeRoot::setMtime(root.file("/usr/share/applications/reqapp.desktop"),
                       QDateTime::currentDateTimeUtc().addSecs(5));
    bool found = false;
    for (const SystemApp& app : source.scan().apps) {
        if (app.key == "deb:reqapp") {
            EXPECT_EQ(app.displayName, "Required Ap2");
            found = true;
        }
    }
    EXPECT_TRUE(found);
    const QStringList watch = source.watchFolders();
    EXPECT_TRUE(watch.contains(root.file("/var/lib/dpkg")));
    EXPECT_TRUE(watch.contains(root.file("/usr/share/applications/kde")));
    EXPECT_TRUE(watch.contains(root.file("/var/lib/snapd/desktop/applications")));
    EXPECT_TRUE(watch.contains(root.file("/home/u/Apps")));
}

TEST_F(SystemSourceTest, UnreadableStatusChangesNothing) {
    ASSERT_TRUE(Sync().ok);
    // A status file that exists but cannot be read (even by root).
    root.remove("/var/lib/dpkg/status");
    QDir().mkpath(root.file("/var/lib/dpkg/status"));
    const SyncResult r = Sync();
    EXPECT_FALSE(r.ok);
    SqliteStore store(storeFile);
    EXPECT_EQ(Subkeys(store).size(), 13);
}

TEST(SyncStoreTest, ApplyWritesIsAllOrNothing) {
    TempProgramFolder folder;
    SqliteStore store(folder.storePath());
    const KeyPath a{RootKey::LocalMachine, {"SOFTWARE", "A"}};
    ASSERT_TRUE(store.setValue(a, MakeStringValue("X", "1")).ok());
    QList<StoreWrite> writes{
        {StoreWrite::Op::SetValue, KeyPath{RootKey::LocalMachine, {"SOFTWARE", "B"}},
         MakeStringValue("Y", "2")},
        {StoreWrite::Op::DeleteValue, a, RegValue{"X", RegType::Sz, {}}},
        {StoreWrite::Op::DeleteKey, KeyPath{RootKey::LocalMachine, {}}, {}}, // fails
    };
    EXPECT_FALSE(store.applyWrites(writes).ok());
    EXPECT_EQ(store.GetStringValue(RootKey::LocalMachine, "SOFTWARE\\A", "X"), "1");
    EXPECT_EQ(store.keyExists(KeyPath{RootKey::LocalMachine, {"SOFTWARE", "B"}}).status,
              StoreStatus::NotFound);
    writes.removeLast();
    writes.append(
        {StoreWrite::Op::DeleteKey, KeyPath{RootKey::LocalMachine, {"SOFTWARE", "Gone"}}, {}});
    EXPECT_TRUE(store.applyWrites(writes).ok());
    EXPECT_EQ(store.GetStringValue(RootKey::LocalMachine, "SOFTWARE\\B", "Y"), "2");
    EXPECT_EQ(store.ReadStringValue(RootKey::LocalMachine, "SOFTWARE\\A", "X").status,
              ReadStatus::Missing);
}

TEST_F(SystemSourceTest, SyncCommand) {
    auto run = [](const QStringList& args) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("HOME", FakeRoot::home());
        env.insert("XDG_DATA_HOME", FakeRoot::dataHome());
        env.insert("XDG_DATA_DIRS", "/usr/local/share:/usr/share");
        env.insert("PATH", "/usr/local/bin:/usr/bin:/bin");
        env.insert("LC_ALL", "de_DE.UTF-8");
        p.setProcessEnvironment(env);
        p.start(RELVANO_SYNC_TOOL, args);
        p.waitForFinished(60000);
        return std::make_pair(
            p.exitCode(), QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError()));
    };
    const auto [code, out] = run({"--root", root.path(), "--store", storeFile});
    EXPECT_EQ(code, 0) << out.toStdString();
    EXPECT_TRUE(out.startsWith("added ")) << out.toStdString();
    const auto [code2, out2] = run({"--root", root.path(), "--store", storeFile});
    EXPECT_EQ(code2, 0);
    EXPECT_TRUE(out2.startsWith("added 0, updated 0, removed 0")) << out2.toStdString();
    const ToolRun query =
        RunRelvanoReg(storeFile, {"query", AppContext::UninstallKeyFullPath + "snap:hello"});
    EXPECT_TRUE(query.out.contains("RelvanoSource    REG_SZ    snap")) << query.out.toStdString();

    // Turned off in the Config.Ini beside the store: the entries go.
    WriteIni(folder.file("Config.Ini"), "Options", "Sys", "0");
    const auto [code3, out3] = run({"--root", root.path(), "--store", storeFile});
    EXPECT_EQ(code3, 0);
    EXPECT_TRUE(out3.contains("removed 13")) << out3.toStdString();

    EXPECT_EQ(run({"--root", root.file("/nowhere"), "--store", storeFile}).first, 2);
    EXPECT_EQ(run({"--bogus"}).first, 2);
    const auto [listCode, list] = run({"--root", root.path(), "--list"});
    EXPECT_EQ(listCode, 0);
    EXPECT_TRUE(list.contains("deb:vim-common\tVim (de)\t9.0.1378-2")) << list.toStdString();
}
