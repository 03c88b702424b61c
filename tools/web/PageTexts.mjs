// Writes the page's texts in every language of the catalogues, OUT (texts.js), which the page
// reads before its own script: for each language a table from the Czech text (as page.js and
// touch.js write it) to its translation. The build gives it the page's texts as a catalogue
// compiled by Debian's msgfmt with each text its own translation (IDS, made from the texts
// xgettext found in the page), and each language's catalogue compiled (CODE=FILE.mo): a text a
// catalogue lacks, or has fuzzy, is left out, and the page shows it in Czech.
// Beside OUT it writes the page's manifest (MANIFEST, in Czech) in each language,
// kelvora.CODE.webmanifest: its language and its description translated (the page marks that
// description for the translators).
// Usage: node PageTexts.mjs OUT IDS MANIFEST CODE=FILE.mo...
import fs from 'node:fs';
import path from 'node:path';

// The messages of a GNU .mo file, original to translation, the header left out.
function readMo(file) {
  const bytes = fs.readFileSync(file);
  const magic = bytes.readUInt32LE(0);
  const little = magic === 0x950412de;
  if (!little && magic !== 0xde120495) throw new Error(`${file} is not a compiled catalogue`);
  const word = at => (little ? bytes.readUInt32LE(at) : bytes.readUInt32BE(at));
  const count = word(8), originals = word(12), translations = word(16);
  const string = (table, i) => {
    const length = word(table + 8 * i), at = word(table + 8 * i + 4);
    if (at + length > bytes.length) throw new Error(`${file} is cut short`);
    return bytes.toString('utf8', at, at + length);
  };
  const messages = new Map();
  for (let i = 0; i < count; ++i) {
    const original = string(originals, i);
    if (original !== '') messages.set(original, string(translations, i));
  }
  return messages;
}

// Writes `file` whole or not at all.
function writeWhole(file, text) {
  fs.writeFileSync(file + '.new', text);
  fs.renameSync(file + '.new', file);
}

const [out, ids, manifestFile, ...catalogues] = process.argv.slice(2);
const pageTexts = [...readMo(ids).keys()];
if (!out || !manifestFile || pageTexts.length === 0) {
  throw new Error('usage: node PageTexts.mjs OUT IDS MANIFEST CODE=FILE.mo...');
}
const manifest = JSON.parse(fs.readFileSync(manifestFile, 'utf8'));
if (!pageTexts.includes(manifest.description)) {
  throw new Error(`${manifestFile}: its description is not marked in the page's scripts`);
}
const languages = {};
for (const argument of catalogues) {
  const [code, file] = argument.split('=');
  const messages = readMo(file);
  const table = {};
  for (const text of pageTexts) {
    if (messages.has(text)) table[text] = messages.get(text);
  }
  languages[code] = table;
  const translated = { ...manifest, lang: code,
    description: table[manifest.description] || manifest.description };
  writeWhole(path.join(path.dirname(out), `kelvora.${code}.webmanifest`),
    JSON.stringify(translated, null, 2) + '\n');
}
const body = Object.keys(languages).sort()
  .map(code => `  ${JSON.stringify(code)}: ${JSON.stringify(languages[code], null, 2).replace(/\n/g, '\n  ')},\n`)
  .join('');
writeWhole(out,
  '// Written by the build from the catalogues of po/ (tools/web/PageTexts.mjs): the page\'s texts\n' +
  '// in each language but Czech, the page\'s own, by their Czech text.\n' +
  `'use strict';\nself.kelvoraTexts = {\n${body}};\n`);
