// What some tests need the system's help for: a small file system of their own
// (to fill a disk, or to make a folder read-only for everyone, root included),
// device nodes, and acting as an ordinary user while the test runs as root.
// Each says when it cannot be had, so that the test skips with that reason.
#pragma once

#include <QString>

// A tmpfs of the given size mounted on a folder for the object's lifetime.
class TmpfsMount {
public:
    TmpfsMount(const QString& folder, const QString& size);
    ~TmpfsMount();
    TmpfsMount(const TmpfsMount&) = delete;
    TmpfsMount& operator=(const TmpfsMount&) = delete;

    bool mounted() const { return mounted_; }
    // Why there is no mount, for the skip message.
    const QString& whyNot() const { return whyNot_; }
    bool remountReadOnly();

private:
    QString folder_;
    QString whyNot_;
    bool mounted_ = false;
};

// Makes a device node (mknod) with the numbers of a Linux character device:
// 1,3 is /dev/null, 1,7 is /dev/full. Empty text on success, else the reason.
QString MakeCharacterDevice(const QString& path, unsigned major, unsigned minor);

// While it lives, the process acts as the user "nobody" (effective user and
// group ids), so that file permissions apply although the tests run as root.
// When the tests run as an ordinary user, it does nothing: permissions apply.
class AsOrdinaryUser {
public:
    AsOrdinaryUser();
    ~AsOrdinaryUser();
    AsOrdinaryUser(const AsOrdinaryUser&) = delete;
    AsOrdinaryUser& operator=(const AsOrdinaryUser&) = delete;

    bool active() const { return whyNot_.isEmpty(); }
    const QString& whyNot() const { return whyNot_; }
    // The user and group the process acts as: files made for it get these.
    static unsigned userId();
    static unsigned groupId();

private:
    QString whyNot_;
    bool switched_ = false;
};
