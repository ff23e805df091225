; The installer's own words in each of its languages (UTF-8; included with
; /CHARSET=UTF8 so the Japanese survives whatever code page builds it).

LangString ShowReadme ${LANG_ENGLISH} "Show README.txt"
LangString ShowReadme ${LANG_JAPANESE} "README.txt を表示する"

; Short: the components page's list is narrow; the description box under
; it says the rest.
LangString SectionPath ${LANG_ENGLISH} "Add to PATH"
LangString SectionPath ${LANG_JAPANESE} "PATH に追加"
LangString SectionPathText ${LANG_ENGLISH} "Adds the program folder to PATH, so letterwire-cli.exe and launcher.exe run from any command prompt."
LangString SectionPathText ${LANG_JAPANESE} "プログラムのフォルダーを PATH に追加し、どのコマンド プロンプトからも letterwire-cli.exe と launcher.exe を使えるようにします。"
LangString SectionProgramText ${LANG_ENGLISH} "The programs, README.txt and the Start-menu entries."
LangString SectionProgramText ${LANG_JAPANESE} "プログラム、README.txt とスタート メニューの項目。"

LangString ReadmeLink ${LANG_ENGLISH} "${README_LINK_EN}"
LangString ReadmeLink ${LANG_JAPANESE} "${README_LINK_JA}"

LangString PathTooLong ${LANG_ENGLISH} "PATH is too long to be changed safely by the installer; it was left as it is. Add $INSTDIR to it yourself to run letterwire-cli.exe from a command prompt."
LangString PathTooLong ${LANG_JAPANESE} "PATH が長すぎるため、インストーラーは変更しませんでした。コマンド プロンプトから letterwire-cli.exe を使うには、$INSTDIR をご自分で PATH に追加してください。"

LangString PathNotRemoved ${LANG_ENGLISH} "PATH is too long to be changed safely by the uninstaller; remove $INSTDIR from it yourself."
LangString PathNotRemoved ${LANG_JAPANESE} "PATH が長すぎるため、アンインストーラーは変更しませんでした。$INSTDIR をご自分で PATH から削除してください。"

LangString NeedsAdmin ${LANG_ENGLISH} "${PRODUCT} was installed for all users; removing it needs administrator rights."
LangString NeedsAdmin ${LANG_JAPANESE} "${PRODUCT} はすべてのユーザー用にインストールされています。削除するには管理者の権限が必要です。"

LangString StillRunning ${LANG_ENGLISH} "$0 is running. Close it, then choose Retry."
LangString StillRunning ${LANG_JAPANESE} "$0 が実行中です。終了してから [再試行] を選んでください。"
