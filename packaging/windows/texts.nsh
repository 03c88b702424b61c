; The installer's own texts in Czech, its first language, one LangString each. scripts/update-pot
; takes them into the translators' template (with the comments above them that begin
; "TRANSLATORS:"); the build writes each catalogue's translations of them, with the language
; itself, into installer-languages.nsh (packaging/windows/installer-languages). A text holds no
; quotes and no escapes of NSIS; ${NAME} is the game's name.

; TRANSLATORS: the Windows installer's page that asks whom to install the game for; keep ${NAME},
; the game's name, as it is.
LangString InstallModeTop ${LANG_CZECH} "Hru ${NAME} můžete nainstalovat jen pro sebe, do své složky programů, nebo pro všechny uživatele tohoto počítače, do složky Program Files. Uložené hry a nastavení má každý hráč vždy své vlastní."
; TRANSLATORS: the Windows installer: the choice to install the game for the player alone.
LangString InstallModeCurrentUser ${LANG_CZECH} "Jen pro mě"
; TRANSLATORS: the Windows installer: the choice to install the game for every user.
LangString InstallModeAllUsers ${LANG_CZECH} "Pro všechny uživatele"
; TRANSLATORS: the Windows installer, to a player without an administrator's rights who asked to
; install for all users; keep ${NAME} as it is.
LangString AllUsersNotPossible ${LANG_CZECH} "Pro všechny uživatele může hru ${NAME} instalovat jen správce počítače."
; TRANSLATORS: the Windows uninstaller's first page; keep ${NAME} as it is.
LangString UninstallTop ${LANG_CZECH} "Hra ${NAME} bude odebrána z počítače. Vaše uložené hry a nastavení zůstanou zachovány."
; TRANSLATORS: the Windows installer: the title of the page that shows the game's licence.
LangString LicenceHeader ${LANG_CZECH} "Licence"
; TRANSLATORS: the Windows installer: under the licence page's title; keep ${NAME} as it is.
LangString LicenceSubheader ${LANG_CZECH} "${NAME} je svobodný software pod licencí GNU GPL verze 3 nebo pozdější."
; TRANSLATORS: the Windows installer: above the licence's text.
LangString LicenceTop ${LANG_CZECH} "Hru smíte hrát, šířit i upravovat za těchto podmínek."
; TRANSLATORS: the Windows installer: below the licence's text; "Licence" is the name of the
; folder the game installs, keep it as it is.
LangString LicenceBottom ${LANG_CZECH} "Hraní hry licence nijak neomezuje. Její podmínky platí, když hru šíříte nebo upravujete. Licence knihoven a písem, které hra obsahuje, jsou ve složce Licence."
; TRANSLATORS: the Windows installer's last page: the box that starts the game; keep ${NAME} as
; it is.
LangString StartGame ${LANG_CZECH} "Spustit hru ${NAME}"
; TRANSLATORS: the Windows installer: the name of the part it installs, the game.
LangString SectionGame ${LANG_CZECH} "Hra"
; TRANSLATORS: the Windows installer's list of what it does, as it removes the version installed
; before; $0 stands for that version's folder, keep it as it is.
LangString RemovingOlder ${LANG_CZECH} "Odebírám předchozí verzi z $0"
; TRANSLATORS: the Windows uninstaller, to a player without an administrator's rights; keep
; ${NAME} as it is.
LangString UninstallNeedsAdmin ${LANG_CZECH} "Hru ${NAME} nainstalovanou pro všechny uživatele může odebrat jen správce počítače."
