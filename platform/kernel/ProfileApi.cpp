#include "platform/kernel/ProfileApi.h"

#include <cstring>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/base/LastError.h"
#include "platform/kernel/FileApi.h"
#include "platform/kernel/FileReplacement.h"
#include "platform/kernel/ScopedHandle.h"
#include "platform/kernel/private/ProfileDocument.h"

namespace vellumry::kernel {
namespace {

std::mutex g_profileLock;

// The whole file, or no value with the last error set.
std::optional<std::string> ReadProfileFile(LPCSTR fileName)
{
    ScopedHandle file(CreateFileA(fileName, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return std::nullopt;
    DWORD high = 0;
    DWORD size = GetFileSize(file.Get(), &high);
    if (size == INVALID_FILE_SIZE && GetLastError() != ERROR_SUCCESS)
        return std::nullopt;
    if (high != 0 || size > kMaxProfileFileSize) {
        SetLastError(ERROR_FILE_TOO_LARGE);
        return std::nullopt;
    }
    std::string content(size, '\0');
    DWORD read = 0;
    if (!ReadFile(file.Get(), content.data(), size, &read, nullptr))
        return std::nullopt;
    content.resize(read);
    return content;
}

DWORD CopyToBuffer(std::string_view text, LPSTR buffer, DWORD size)
{
    // A zero byte inside a value ends it, as it ends any C text.
    text = text.substr(0, std::min(text.find('\0'), text.size()));
    DWORD count = static_cast<DWORD>(std::min<std::size_t>(text.size(), size - 1));
    std::memcpy(buffer, text.data(), count);
    buffer[count] = '\0';
    return count;
}

std::string_view WithoutTrailingBlanks(std::string_view text)
{
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

}  // namespace
}  // namespace vellumry::kernel

using namespace vellumry::kernel;

DWORD GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR returnedString, DWORD size,
                               LPCSTR fileName)
{
    if (returnedString == nullptr || size == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (section == nullptr || key == nullptr || fileName == nullptr) {
        returnedString[0] = '\0';
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::lock_guard guard(g_profileLock);
    std::optional<std::string> content = ReadProfileFile(fileName);
    if (content) {
        if (std::optional<std::string_view> value = FindProfileValue(*content, section, key)) {
            DWORD count = CopyToBuffer(*value, returnedString, size);
            SetLastError(ERROR_SUCCESS);
            return count;
        }
        SetLastError(ERROR_FILE_NOT_FOUND);
    }
    // The last error of the failed read stays.
    DWORD error = GetLastError();
    DWORD count = CopyToBuffer(WithoutTrailingBlanks(defaultValue ? defaultValue : ""), returnedString, size);
    SetLastError(error);
    return count;
}

BOOL WritePrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR fileName)
{
    if (section == nullptr || fileName == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    ProfileEdit edit;
    edit.section = section;
    if (key == nullptr) {
        edit.kind = ProfileEditKind::RemoveSection;
    } else {
        edit.key = key;
        edit.kind = value == nullptr ? ProfileEditKind::RemoveKey : ProfileEditKind::SetValue;
        edit.value = value ? value : "";
    }

    std::lock_guard guard(g_profileLock);
    std::optional<std::string> content = ReadProfileFile(fileName);
    if (!content) {
        DWORD error = GetLastError();
        bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
        if (!missing)
            return FALSE;
        if (edit.kind != ProfileEditKind::SetValue)
            return TRUE;  // nothing to remove
        content.emplace();
    }
    std::optional<std::string> edited = EditProfile(*content, edit);
    if (!edited)
        return TRUE;
    std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(edited->data()), edited->size());
    return ReplaceFileContents(fileName, std::span(&bytes, 1));
}
