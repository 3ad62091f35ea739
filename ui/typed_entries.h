#pragma once

class QDialog;

namespace kelvane::ui {

// Esc in the dialog, once anything in its boxes differs from what they held
// when it opened (a text typed, a part added, a choice made), first asks
// 「入力を破棄しますか？」: はい, or Esc again, discards the entries and
// closes the dialog as Esc always did; いいえ, the default, keeps the dialog
// open with them. Without changes Esc closes it at once. キャンセル and the
// window's own closing are left as they are. Called at the end of the
// dialog's constructor, when its boxes hold what it opened with.
void askBeforeEscDiscards(QDialog& dialog);

}  // namespace kelvane::ui
