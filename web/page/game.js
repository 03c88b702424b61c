// What the page asks of the game loaded into it (kelvora.js), through the functions the game
// exports for it (web/app/PageHooks.cpp). A call marked as waiting may wait for the browser (its
// storage, a download) and resolves when the game is done; only one such call runs at a time, so
// the page makes them one after the other.

// Makes the player's folder the game's current one, its files read from the browser's storage
// (Storage.js), as the game's start does. False where they could not be read: the page must then
// write nothing.
export async function enterPlayerFolder() {
  await Module.ccall('kelvora_enter_player_folder', null, [], [], { async: true });
  return Module.kelvoraStorage.readable();
}

// Speaks the language the game starts in, the player's choice or the browser's language (waits);
// resolves to its code.
export function speakStartLanguage() {
  return Module.ccall('kelvora_speak_start_language', 'string', [], [], { async: true });
}

// Speaks `code` while the game does not run (waits): its messages come in it. False where the
// game has no such language.
export async function speak(code) {
  return !!await Module.ccall('kelvora_speak_language', 'number', ['string'], [code],
    { async: true });
}

// Keeps `code` as the player's choice in the player's folder (waits); false where the settings
// could not be written.
export async function keepLanguage(code) {
  return !!await Module.ccall('kelvora_keep_language', 'number', ['string'], [code],
    { async: true });
}

// The running game speaks `code` from its next frame on, and keeps it as the player's choice.
export function chooseLanguage(code) {
  Module.ccall('kelvora_choose_language', null, ['string'], [code]);
}

export function levelRunning() {
  return !!(Module._kelvora_level_running && Module._kelvora_level_running());
}

// The transfers' result: "OK KEPT" (each 0 or 1), then the messages, one a line.
function transferResult(text) {
  const lines = text.split('\n');
  return { ok: lines[0][0] === '1', kept: lines[0][2] === '1', messages: lines.slice(1) };
}

// Packs the saved games of the player's folder into one file: the result, and the file's bytes
// (null where there are none).
export function exportSaves() {
  const result = transferResult(Module.ccall('kelvora_export_saves', 'string', [], []));
  const size = Module._kelvora_exported_size();
  const at = Module._kelvora_exported_file();
  return { ...result, bytes: size > 0 ? Module.HEAPU8.slice(at, at + size) : null };
}

// Takes the saved games of a file the player chose, `name` with its `bytes` (waits); with
// `replace` those of slots that hold a game already too.
export async function importSaves(name, bytes, replace) {
  const at = Module._malloc(Math.max(1, bytes.length));
  try {
    Module.HEAPU8.set(bytes, at);
    return transferResult(await Module.ccall('kelvora_import_saves', 'string',
      ['string', 'number', 'number', 'number'], [name, at, bytes.length, replace ? 1 : 0],
      { async: true }));
  } finally {
    Module._free(at);
  }
}
