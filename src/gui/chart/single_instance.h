#pragma once

#include <QLockFile>
#include <QString>

namespace orvanta {

// Finds out whether the program already runs for this user on this desktop.
//
// A lock file in the user's runtime directory, held for the program's whole life. A
// lock file rather than a local socket: QLockFile records the holder's process id and
// program name, so a lock left behind by an instance that crashed is recognised as
// stale (no such process any more, or another program under that id) and taken over;
// a socket file left by a crash would need the same probing done by hand. The lock is
// never considered stale because of its age: a program may run for days.
class SingleInstance {
public:
    SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // True when this instance holds the lock, false when another one does.
    bool isFirst() const { return first_; }

    static QString LockFilePath();

private:
    QLockFile lock_;
    bool first_ = false;
};

}  // namespace orvanta
