#include "platform/SaveMetadataPosix.h"

#include "platform/FileHandle.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <endian.h>
#include <fcntl.h>
#include <linux/posix_acl.h>
#include <linux/posix_acl_xattr.h>
#include <optional>
#include <sys/xattr.h>
#include <unistd.h>
#include <vector>

namespace SaveMetadata {
namespace {

constexpr const char* AclName = "system.posix_acl_access";

// Reads the old file's extended attributes: through a descriptor where the
// user may open the file, else through its path (which gives the ACL even
// without any right on the file itself).
class AttributeSource {
public:
    AttributeSource(int folder, const std::string& name, const std::string& path, const struct stat& old)
        : file_(::openat(folder, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC)),
          path_(path)
    {
        // Only the very file the save replaces, not one put in its place since.
        struct stat open {};
        if (file_.Valid() &&
            (::fstat(file_.Get(), &open) != 0 || open.st_dev != old.st_dev || open.st_ino != old.st_ino))
            file_.Close();
    }

    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        const std::optional<std::string> list = Read([this](char* buffer, std::size_t size) {
            return file_.Valid() ? ::flistxattr(file_.Get(), buffer, size) : ::llistxattr(path_.c_str(), buffer, size);
        });
        if (!list)
            return names;
        for (std::size_t at = 0; at < list->size();) {
            const std::size_t end = list->find('\0', at);
            names.push_back(list->substr(at, end - at));
            if (end == std::string::npos)
                break;
            at = end + 1;
        }
        return names;
    }

    std::optional<std::string> Value(const std::string& name) const
    {
        return Read([&](char* buffer, std::size_t size) {
            return file_.Valid() ? ::fgetxattr(file_.Get(), name.c_str(), buffer, size)
                                 : ::lgetxattr(path_.c_str(), name.c_str(), buffer, size);
        });
    }

private:
    // What call gives, asking its size first; again while it grows between the two calls.
    template <typename Call> static std::optional<std::string> Read(Call call)
    {
        for (int attempt = 0; attempt < 4; ++attempt) {
            const ssize_t size = call(nullptr, 0);
            if (size < 0)
                return std::nullopt;
            std::string bytes(static_cast<std::size_t>(size), '\0');
            const ssize_t read = call(bytes.data(), bytes.size());
            if (read >= 0) {
                bytes.resize(static_cast<std::size_t>(read));
                return bytes;
            }
            if (errno != ERANGE)
                return std::nullopt;
        }
        return std::nullopt;
    }

    FileHandle file_;
    std::string path_;
};

// What an ACL gives the owning group and others (rwx as three bits).
struct AclRights {
    unsigned group = 0;       // the owning group's entry, as the mask lets it through
    unsigned groupEntry = 0;  // the owning group's entry itself
    std::size_t groupAt = 0;  // where that entry's permissions are in the stored ACL
    unsigned other = 0;
};

// Reads an ACL as the system stores it: a version word, then entries of tag,
// permissions and id, little-endian. Nothing for a malformed one.
std::optional<AclRights> ParseAcl(const std::string& value)
{
    constexpr std::size_t Header = sizeof(posix_acl_xattr_header);
    constexpr std::size_t Entry = sizeof(posix_acl_xattr_entry);
    if (value.size() < Header || (value.size() - Header) % Entry != 0)
        return std::nullopt;
    posix_acl_xattr_header header {};
    std::memcpy(&header, value.data(), Header);
    if (le32toh(header.a_version) != POSIX_ACL_XATTR_VERSION)
        return std::nullopt;
    AclRights rights;
    unsigned mask = 07;
    bool group = false;
    for (std::size_t at = Header; at < value.size(); at += Entry) {
        posix_acl_xattr_entry entry {};
        std::memcpy(&entry, value.data() + at, Entry);
        const unsigned perm = le16toh(entry.e_perm) & 07u;
        switch (le16toh(entry.e_tag)) {
        case ACL_GROUP_OBJ:
            group = true;
            rights.groupEntry = perm;
            rights.groupAt = at + offsetof(posix_acl_xattr_entry, e_perm);
            break;
        case ACL_MASK:
            mask = perm;
            break;
        case ACL_OTHER:
            rights.other = perm;
            break;
        default:
            break;
        }
    }
    if (!group)
        return std::nullopt;
    rights.group = rights.groupEntry & mask;
    return rights;
}

// Returns the stored ACL with the owning group's entry cut down to what
// others may do.
std::string LimitGroup(std::string value, const AclRights& rights)
{
    const std::uint16_t perm = htole16(static_cast<std::uint16_t>(rights.groupEntry & rights.other));
    std::memcpy(value.data() + rights.groupAt, &perm, sizeof perm);
    return value;
}

// Whether the new file already carries value as attribute (a label the system
// gave it when it was made, say), so that a refused copy loses nothing.
bool AlreadyHas(int temp, const std::string& attribute, const std::string& value)
{
    std::string present(value.size() + 1, '\0');
    const ssize_t size = ::fgetxattr(temp, attribute.c_str(), present.data(), present.size());
    return size >= 0 && static_cast<std::size_t>(size) == value.size() && present.compare(0, value.size(), value) == 0;
}

}  // namespace

mode_t KeptMode(int temp, int folder, const std::string& name, const std::string& path, const struct stat& old,
                FileBytes::NotKept& notKept)
{
    struct stat now {};
    if (::fstat(temp, &now) == 0 && (now.st_uid != old.st_uid || now.st_gid != old.st_gid)) {
        // Only root may give the file away; a member of the old file's group
        // may still give it that group.
        if (::fchown(temp, old.st_uid, old.st_gid) != 0 && now.st_gid != old.st_gid)
            (void)::fchown(temp, static_cast<uid_t>(-1), old.st_gid);
        (void)::fstat(temp, &now);
    }
    const bool groupKept = now.st_gid == old.st_gid;

    std::optional<AclRights> acl;
    bool aclKept = false;
    const AttributeSource source(folder, name, path, old);
    for (const std::string& attribute : source.Names()) {
        const bool isAcl = attribute == AclName;
        std::optional<std::string> value = source.Value(attribute);
        if (!value && errno == ENODATA)
            continue;  // removed since it was listed: nothing to keep
        if (value && isAcl) {
            acl = ParseAcl(*value);
            // Without the old group, what the ACL would give the new one is
            // known only from a well-formed ACL.
            if (!groupKept)
                value = acl ? std::optional(LimitGroup(*value, *acl)) : std::nullopt;
        }
        const bool set = value && (::fsetxattr(temp, attribute.c_str(), value->data(), value->size(), 0) == 0 ||
                                   AlreadyHas(temp, attribute, *value));
        if (set)
            aclKept = aclKept || isAcl;
        else if (isAcl)
            notKept.accessList = true;
        else
            notKept.attributes.push_back(attribute);
    }

    // The folder's default ACL gave the new file entries of its own: a map
    // that had no ACL, or whose ACL could not be copied, keeps no more than
    // its mode allows.
    if (!aclKept && ::fremovexattr(temp, AclName) != 0 && errno != ENODATA && errno != ENOTSUP)
        notKept.accessList = true;

    // With the ACL copied the group bits are its mask, as they were; without
    // it they are what the owning group itself had.
    mode_t mode = old.st_mode & 07777;
    if (!groupKept)
        mode &= ~mode_t(S_ISGID);
    if (!aclKept) {
        unsigned group = acl ? acl->group : (mode >> 3) & 07u;
        if (!groupKept)
            group &= acl ? acl->other : mode & 07u;
        mode = (mode & ~mode_t(S_IRWXG)) | static_cast<mode_t>(group << 3);
    }
    return mode;
}

}  // namespace SaveMetadata
