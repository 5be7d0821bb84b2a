#pragma once

// Runtime texts name files the Windows way: GBK bytes with "\" separators. The
// file system wants UTF-8 with "/". These two functions are the only place the
// two meet. A drive prefix ("C:") names the one root there is and is dropped.
// The conversion to UTF-8 happens before separators are replaced, because a
// GBK trail byte may be 0x5C, the code of "\".

#include <string>
#include <string_view>

namespace vellumry::kernel {

std::string ToHostPath(std::string_view runtimePath);
std::string ToRuntimePath(std::string_view hostPath);

// The executable's full path in host form ("/.../vellumry").
const std::string& HostProgramPath();

// True when a host path names an existing regular file.
bool HostFileExists(const std::string& hostPath);

}  // namespace vellumry::kernel
