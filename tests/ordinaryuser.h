#pragma once
// The ordinary user the tests become where they run as root, whom file
// permissions do not bind: nobody.
#include <grp.h>
#include <pwd.h>
#include <sys/types.h>
#include <unistd.h>

struct OrdinaryUserIds {
    uid_t uid;
    gid_t gid;
};

inline OrdinaryUserIds nobodyIds()
{
    const struct passwd *nobody = ::getpwnam("nobody");
    return nobody ? OrdinaryUserIds{nobody->pw_uid, nobody->pw_gid} : OrdinaryUserIds{65534, 65534};
}

// For a child process: root becomes nobody, without root's groups; anyone
// else stays who he is. False if refused.
inline bool becomeOrdinaryUser()
{
    if (::geteuid() != 0)
        return true;
    const OrdinaryUserIds ids = nobodyIds();
    return ::setgroups(0, nullptr) == 0 && ::setgid(ids.gid) == 0 && ::setuid(ids.uid) == 0;
}
