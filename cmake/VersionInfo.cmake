# The program's version facts, in one place for the window, the Windows version resource, the
# desktop entry, the AppStream metadata and the packages.
set(TALMIRO_VERSION 2.0.0.0)
set(TALMIRO_COMMENTS "修正了1.0版本中的一些错误")
set(TALMIRO_COMPANY_NAME "小林工作室")
set(TALMIRO_FILE_DESCRIPTION "查询化学式的软件")
set(TALMIRO_LEGAL_COPYRIGHT "版权所有 (C) 小林工作室")
set(TALMIRO_PRODUCT_NAME "Talmiro2.0")
set(TALMIRO_FILE_VERSION_TEXT "2.00")
set(TALMIRO_PRODUCT_VERSION_TEXT "2.00")
set(TALMIRO_INTERNAL_NAME "Talmiro")
set(TALMIRO_ORIGINAL_FILENAME "Talmiro.exe")

# For the desktop entry, the AppStream metadata and the packages.
set(TALMIRO_APP_ID "net.talmiro.Talmiro")
# The icon theme's sizes: installed as the desktop's icons, and set on the Linux window.
set(TALMIRO_ICON_SIZES 32 48 64 128 256)
set(TALMIRO_RELEASE_DATE "2026-12-06")
set(TALMIRO_RELEASE_DATE_RFC2822 "Sun, 06 Dec 2026 00:00:00 +0000")
set(TALMIRO_HOME_PAGE "http://www.example.com/xiaolin/")
# Where the release's apt repository (dist/apt) is published.
set(TALMIRO_APT_REPOSITORY "http://www.example.com/xiaolin/apt/")
set(TALMIRO_MAINTAINER "小林 <talmiro@example.com>")

# The Windows installer's, for every version to come: it is how Windows knows a newer package
# for an upgrade of this one.
set(TALMIRO_UPGRADE_CODE "6C1F0A52-3B0B-4E1F-9C55-7A1D2B3C4D5E")
