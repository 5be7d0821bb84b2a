#pragma once

namespace vellumry::ui {

// Makes MessageBoxA show real modal boxes while the application object lives.
void InstallMessageBoxPresenter();
void RemoveMessageBoxPresenter();

}  // namespace vellumry::ui
