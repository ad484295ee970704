#include "platform/SaveMetadataWindows.h"

#include "platform/FileHandle.h"

#include <cstddef>

namespace SaveMetadata {
namespace {

// The part of the security descriptor of the file at path that what names;
// empty when the user may not read it.
std::vector<unsigned char> DescriptorOf(const std::wstring& path, SECURITY_INFORMATION what)
{
    DWORD size = 0;
    ::GetFileSecurityW(path.c_str(), what, nullptr, 0, &size);
    std::vector<unsigned char> descriptor(size);
    if (size == 0 || !::GetFileSecurityW(path.c_str(), what, descriptor.data(), size, &size))
        return {};
    return descriptor;
}

bool CopyBytes(HANDLE from, HANDLE to)
{
    std::vector<char> buffer(64 * 1024);
    for (;;) {
        DWORD count = 0;
        if (!::ReadFile(from, buffer.data(), static_cast<DWORD>(buffer.size()), &count, nullptr))
            return false;
        if (count == 0)
            return true;
        DWORD written = 0;
        if (!::WriteFile(to, buffer.data(), count, &written, nullptr) || written != count)
            return false;
    }
}

// A copy of each named stream of the file at path (":name:$DATA") in the
// file at tempPath; the names of those it could not copy go to lost. File
// systems without named streams have none to copy.
void CopyNamedStreams(const std::wstring& path, const std::wstring& tempPath, std::vector<std::wstring>& lost)
{
    WIN32_FIND_STREAM_DATA stream{};
    const HANDLE search = ::FindFirstStreamW(path.c_str(), FindStreamInfoStandard, &stream, 0);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::wstring name(stream.cStreamName);
        if (name == L"::$DATA")
            continue;  // the map itself
        FileHandle from(::CreateFileW((path + name).c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        FileHandle to(::CreateFileW((tempPath + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!from.Valid() || !to.Valid() || !CopyBytes(from.Get(), to.Get()))
            lost.push_back(name);
    } while (::FindNextStreamW(search, &stream));
    ::FindClose(search);
}

}  // namespace

UserOnly::UserOnly()
{
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token))
        return;
    FileHandle tokenHandle(token);
    DWORD size = 0;
    ::GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<unsigned char> user(size);
    if (size == 0 || !::GetTokenInformation(token, TokenUser, user.data(), size, &size))
        return;
    const PSID sid = reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid;
    user_.assign(static_cast<unsigned char*>(sid), static_cast<unsigned char*>(sid) + ::GetLengthSid(sid));
    list_.resize(sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) + user_.size());
    auto* list = reinterpret_cast<ACL*>(list_.data());
    made_ = ::InitializeAcl(list, static_cast<DWORD>(list_.size()), ACL_REVISION) &&
            ::AddAccessAllowedAce(list, ACL_REVISION, FILE_GENERIC_READ | FILE_GENERIC_WRITE | DELETE, user_.data()) &&
            ::InitializeSecurityDescriptor(&descriptor_, SECURITY_DESCRIPTOR_REVISION) &&
            ::SetSecurityDescriptorDacl(&descriptor_, TRUE, list, FALSE) &&
            ::SetSecurityDescriptorControl(&descriptor_, SE_DACL_PROTECTED, SE_DACL_PROTECTED);
    attributes_ = SECURITY_ATTRIBUTES{sizeof(SECURITY_ATTRIBUTES), &descriptor_, FALSE};
}

Lost LossesOfCopy(const std::wstring& path, HANDLE temp, const std::wstring& tempPath)
{
    Lost lost;
    // The list as it is, with its inherited entries and its protection from
    // the folder's: the rename that puts the file in place keeps it so.
    const std::vector<unsigned char> list = DescriptorOf(path, DACL_SECURITY_INFORMATION);
    lost.accessList = list.empty() || !::SetKernelObjectSecurity(temp, DACL_SECURITY_INFORMATION,
                                                                 const_cast<unsigned char*>(list.data()));
    // Another owner only with the privilege to give files away; then the
    // owner is the user who saved, as after the system's own replace.
    constexpr SECURITY_INFORMATION Owner = OWNER_SECURITY_INFORMATION, Group = GROUP_SECURITY_INFORMATION;
    for (const SECURITY_INFORMATION part : {Owner, Group}) {
        const std::vector<unsigned char> descriptor = DescriptorOf(path, part);
        if (!descriptor.empty())
            (void)::SetKernelObjectSecurity(temp, part, const_cast<unsigned char*>(descriptor.data()));
    }
    CopyNamedStreams(path, tempPath, lost.streams);
    return lost;
}

bool KeepAttributes(HANDLE temp, DWORD existing, const FILETIME& created)
{
    FILE_BASIC_INFO info{};
    info.FileAttributes = existing == INVALID_FILE_ATTRIBUTES || existing == 0 ? FILE_ATTRIBUTE_ARCHIVE : existing;
    if (existing != INVALID_FILE_ATTRIBUTES) {
        info.CreationTime.LowPart = created.dwLowDateTime;
        info.CreationTime.HighPart = static_cast<LONG>(created.dwHighDateTime);
    }
    return ::SetFileInformationByHandle(temp, FileBasicInfo, &info, sizeof info) != 0;
}

}  // namespace SaveMetadata
