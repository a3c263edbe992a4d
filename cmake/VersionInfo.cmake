# The program's version facts, in one place for the window, the Windows version resource and
# the desktop metadata.
set(TALMIRO_VERSION "${PROJECT_VERSION}")
set(TALMIRO_COMMENTS "修正了1.0版本中的一些错误")
set(TALMIRO_COMPANY_NAME "小林工作室")
set(TALMIRO_FILE_DESCRIPTION "查询化学式的软件")
set(TALMIRO_LEGAL_COPYRIGHT "版权所有 (C) 小林工作室")
set(TALMIRO_PRODUCT_NAME "Talmiro2.0")
set(TALMIRO_FILE_VERSION_TEXT "2.00")
set(TALMIRO_PRODUCT_VERSION_TEXT "2.00")
set(TALMIRO_INTERNAL_NAME "Talmiro")
set(TALMIRO_ORIGINAL_FILENAME "Talmiro.exe")
