#include "app/progress_dialog.h"

#include <cstdio>

#include "platform/front_end_port.h"

namespace stmtlink {

ProgressDialog::ProgressDialog(HWND parent, ProgressWindowPort* port)
    : port_(port ? port : CurrentFrontEnd()->ProgressWindow()), parent_(parent) {}

ProgressDialog::~ProgressDialog() {
  if (window_) port_->DestroyProgressWindow(window_);
}

BOOL ProgressDialog::Create() {
  if (window_) return TRUE;
  window_ = port_->CreateProgressWindow(parent_);
  return window_ != 0 ? TRUE : FALSE;
}

// Every operation below needs the window; without one there is nothing to
// draw, and the state alone is kept.
void ProgressDialog::SetParent(HWND parent) {
  parent_ = parent;
  if (window_) port_->SetProgressParent(window_, parent);
}

void ProgressDialog::ShowWindow(bool show) {
  if (window_) port_->ShowProgressWindow(window_, show);
}

void ProgressDialog::EndDialog(int result) {
  result_ = result;
  ShowWindow(false);
}

void ProgressDialog::SetRange(int bar, int low, int high) {
  Bar(bar).SetRange(low, high);
  if (window_) port_->SetBarRange(window_, bar, low, high);
}

void ProgressDialog::SetStep(int bar, int step) {
  Bar(bar).step = step;
  if (window_) port_->SetBarStep(window_, bar, step);
}

void ProgressDialog::SetPos(int bar, int pos) {
  Bar(bar).SetPos(pos);
  if (window_) port_->SetBarPos(window_, bar, pos);
}

void ProgressDialog::DeltaPos(int bar, int delta) {
  Bar(bar).DeltaPos(delta);
  if (window_) port_->DeltaBarPos(window_, bar, delta);
}

void ProgressDialog::SetCaption(const char* caption) {
  if (window_) port_->SetProgressCaption(window_, caption);
}

void ProgressDialog::Update() {
  if (window_) port_->UpdateProgressWindow(window_);
}

void ProgressDialog::ResetMainBar() {
  SetRange(kMainProgressBar, 0, 10000);
  SetStep(kMainProgressBar, 1);
  SetPos(kMainProgressBar, 0);
}

void ProgressDialog::AdvanceMainBar(short from, short to) {
  // int, so that a `to` of 32,767 still ends the loop.
  for (int i = from; i <= to; ++i) {
    if (i % 100 == 0) {
      char caption[64] = {};
      std::snprintf(caption, sizeof(caption), "集計中 %d％", i / 100);
      SetCaption(caption);
    }
    DeltaPos(kMainProgressBar, 1);
    PulseSecondBar();
    Update();
  }
}

void ProgressDialog::PulseSecondBar() {
  SetRange(kSecondProgressBar, 0, 5);
  SetStep(kSecondProgressBar, 1);
  SetPos(kSecondProgressBar, 0);
  for (int n = 0; n < 6; ++n) {
    DeltaPos(kSecondProgressBar, 1);
    if (window_) {
      port_->BringProgressToTop(window_);
      port_->SetProgressForeground(window_);
    }
    Update();
  }
}

} // namespace stmtlink
