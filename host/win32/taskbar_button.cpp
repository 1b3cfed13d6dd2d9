#include "host/win32/taskbar_button.h"

#include <algorithm>

// After windows_api.h, which the header brings in.
#include <shobjidl.h>

namespace velbor {

void TaskbarButton::Release::operator()(ITaskbarList3* list) const { list->Release(); }

TaskbarButton::TaskbarButton() : createdMessage_(RegisterWindowMessageW(L"TaskbarButtonCreated")) {}

// Out of line, where ITaskbarList3 is complete.
TaskbarButton::~TaskbarButton() = default;

void TaskbarButton::Attach(HWND window) {
  window_ = window;
  if (createdMessage_ != 0) {
    ChangeWindowMessageFilterEx(window_, createdMessage_, MSGFLT_ALLOW, nullptr);
  }
}

bool TaskbarButton::IsCreatedMessage(UINT message) const {
  return createdMessage_ != 0 && message == createdMessage_;
}

void TaskbarButton::Created() {
  if (window_ == nullptr) return;
  list_.reset();
  if (!com_) com_ = EnterSingleThreadedApartment();
  ITaskbarList3* list = nullptr;
  if (FAILED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER,
                              IID_PPV_ARGS(&list)))) {
    return;  // a system without taskbar progress
  }
  list_.reset(list);
  if (FAILED(list_->HrInit())) {
    list_.reset();
    return;
  }
  shownState_.reset();
  Show();
}

void TaskbarButton::ShowProgress(std::uint64_t done, std::uint64_t total) {
  state_ = State::kProgress;
  // The shell takes no whole of 0; nothing to write is nothing written yet.
  total_ = std::max<std::uint64_t>(total, 1);
  done_ = std::min(done, total_);
  Show();
}

void TaskbarButton::ShowPaused() {
  state_ = State::kPaused;
  Show();
}

void TaskbarButton::ShowNothing() {
  state_ = State::kNothing;
  Show();
}

// What the button shows is only a sign: a shell that refuses it changes nothing
// else, so its answers are not looked at.
void TaskbarButton::Show() {
  if (!list_) return;
  switch (state_) {
    case State::kNothing:
      list_->SetProgressState(window_, TBPF_NOPROGRESS);
      break;
    case State::kProgress:
      // Told many times a second while a pass writes; the state needs setting once.
      if (shownState_ != State::kProgress) list_->SetProgressState(window_, TBPF_NORMAL);
      list_->SetProgressValue(window_, done_, total_);
      break;
    case State::kPaused:
      list_->SetProgressValue(window_, 1, 1);
      list_->SetProgressState(window_, TBPF_PAUSED);
      break;
  }
  shownState_ = state_;
}

}  // namespace velbor
