// Saves out and back: before "Hrát" and after the game's end the panel offers to download every
// saved game in one file and to take such files back, or single SaveN.dat files of the desktop
// game (the game checks each one as a load would). The tab holds the game's lock meanwhile, as a
// playing tab does, and works on the player's folder as the game does; the game's messages come
// in the page's language.
import * as game from './game.js';
import { N_, pageLanguage, tr, whenLanguageChanges } from './language.js';
import { takeLock } from './lock.js';
import { playButton } from './panel.js';

const saves = document.getElementById('saves');
const transfer = document.getElementById('transfer');
const exportButton = document.getElementById('export');
const importButton = document.getElementById('import');
const importFile = document.getElementById('import-file');
const FILE_NAME = 'kelvora-ulozene-hry.dat';

export function offerTransfer(on) {
  saves.hidden = !on;
  if (!on) transfer.hidden = true;
}

function tell(text) {
  transfer.textContent = text;
  transfer.hidden = false;
}

// Runs `work` on the player's folder, in the page's language, and resolves to what it gives; to
// false where it could not run: another tab plays, the storage cannot be read (which `tell`, where
// given, tells the player), or work on the folder runs already. Meanwhile neither another
// transfer nor the game can start in this tab.
let busy = false;
export async function withPlayerFolder(work, tell = () => {}) {
  if (busy) return false;
  busy = true;
  const buttons = [playButton, exportButton, importButton];
  buttons.forEach((button) => { button.disabled = true; });
  const lock = await takeLock(false);
  try {
    if (!lock) {
      tell(tr(N_('Hra běží v jiné záložce: uložené hry teď přenést nejde.')));
    } else if (!await game.enterPlayerFolder()) {
      tell(tr(N_('Uložené hry se nepodařilo přečíst z úložiště prohlížeče.')));
    } else {
      await game.speak(pageLanguage());
      return await work();
    }
    return false;
  } finally {
    if (lock) lock.release();
    buttons.forEach((button) => { button.disabled = false; });
    busy = false;
  }
}

function download(bytes) {
  const link = document.createElement('a');
  link.href = URL.createObjectURL(new Blob([bytes], { type: 'application/octet-stream' }));
  link.download = FILE_NAME;
  document.body.appendChild(link);
  link.click();
  link.remove();
  setTimeout(() => { URL.revokeObjectURL(link.href); }, 60000);
}

exportButton.onclick = () => withPlayerFolder(async () => {
  const result = game.exportSaves();
  if (result.bytes) download(result.bytes);
  // TRANSLATORS: {file} is the name of the downloaded file.
  const where = N_('Uložené hry jsou v souboru {file}.');
  tell((result.bytes ? tr([where, { file: FILE_NAME }]) + '\n' : '') +
    result.messages.join('\n'));
}, tell);

importButton.onclick = () => { importFile.click(); };
importFile.onchange = () => {
  const files = Array.from(importFile.files);
  importFile.value = '';
  withPlayerFolder(async () => {
    const told = [];
    for (const file of files) {
      const bytes = new Uint8Array(await file.arrayBuffer());
      let result = await game.importSaves(file.name, bytes, false);
      // TRANSLATORS: {file} is the name of the file the player chose.
      if (result.kept && confirm(tr([N_('Soubor {file} obsahuje hry pro pozice, na kterých ' +
        'už nějaká hra je. Nahradit je?'), { file: file.name }]))) {
        result = await game.importSaves(file.name, bytes, true);
      }
      told.push(...result.messages);
    }
    tell(told.join('\n'));
  }, tell);
};

whenLanguageChanges(() => {
  exportButton.textContent = tr(N_('Stáhnout uložené hry'));
  importButton.textContent = tr(N_('Nahrát uložené hry'));
});
