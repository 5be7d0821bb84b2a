#pragma once

// The picture host: the plain-HTTP address ("http://" and host, with a port
// when it is not 80) whose pictures the gallery pages link to. It is a
// setting: key "图片主机" of section "站点" in the settings file, when that
// key holds a value; otherwise "http://127.0.0.1:8808", the demo gallery's
// address, so the shipped defaults work against it. Any thread.

#include "app/CoreCommands.h"

namespace vellumry::app {

OwnedText PictureHost(const char* settingsFile);

}  // namespace vellumry::app
