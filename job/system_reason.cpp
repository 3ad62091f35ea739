#include "job/system_reason.h"

#include <cerrno>
#include <cstring>
#include <new>

namespace kelvane::job {

std::string systemReason(int error) {
  switch (error) {
    case ENOENT:
      return "ファイルがありません";
    case EACCES:
    case EPERM:
      return "権限がありません";
    case EISDIR:
      return "フォルダーです";
    case ENOTDIR:
      return "途中の名前がフォルダーではありません";
    case ENOSPC:
#ifdef EDQUOT  // a quota: POSIX, not every C library
    case EDQUOT:
#endif
      return "ディスクがいっぱいです";
    case EFBIG:
      return "ファイルが大きすぎます";
    case EROFS:
      return "書き込みできないドライブです";
    case ENAMETOOLONG:
      return "名前が長すぎます";
    case ENXIO:
      return "読み手のいないパイプか、つながっていない装置です";
    case EPIPE:
      return "読み手が途中で読むのをやめました";
    case EIO:
      return "ディスクの読み書きに失敗しました";
    case ELOOP:
      return "リンクが循環しています";
    default:
#ifdef __GLIBC__  // the error's symbolic name (glibc 2.32)
      if (const char* name = ::strerrorname_np(error)) return std::string("システムエラー ") + name;
#endif
      return "システムエラー " + std::to_string(error);
  }
}

std::string stoppedBecause(const std::exception& stop) {
  if (dynamic_cast<const std::bad_alloc*>(&stop) != nullptr)
    return "メモリーが足りません。ほかのプログラムを閉じてから、もう一度試してください。";
  return stop.what();
}

}  // namespace kelvane::job
