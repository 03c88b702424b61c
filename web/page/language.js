// The page's language: the texts of the page in each language (texts.js, which the build writes
// from the catalogues and the page loads before its modules), the language they are shown in,
// and the page's parts that show texts, told when it changes.
//
// The game keeps the player's language, in its settings file: the language chosen on its options
// screen or on the page, or else the first of the browser's languages it has. The page speaks
// what the game speaks (page.js follows it). Only while the game's files are still loading does
// the page guess, from the browser's languages.
//
// Each text is written here in Czech, marked with N_ for the translators' template
// (scripts/update-pot), and shown through tr in the page's language.
const texts = self.kelvoraTexts || {};
// Czech, then the languages of the catalogues by code, as the game's options screen lists them.
export const languages = ['cs'].concat(Object.keys(texts).filter((code) => code !== 'cs').sort());
let language = 'cs';
const listeners = [];

// Marks a Czech text for the translators' template: the text itself.
export function N_(czech) { return czech; }

// A text of the page in its language: `message` is a marked text, or a marked text and its
// fields ([text, { file: 'kelvora.js' }]), each "{file}" of the translation filled in; a text the
// language lacks is shown in Czech.
export function tr(message) {
  const czech = Array.isArray(message) ? message[0] : message;
  const fields = Array.isArray(message) ? message[1] : {};
  const table = texts[language] || {};
  const form = Object.prototype.hasOwnProperty.call(table, czech) ? table[czech] : czech;
  return form.replace(/\{(\w+)\}/g, (field, name) =>
    Object.prototype.hasOwnProperty.call(fields, name) ? String(fields[name]) : field);
}

// Each language by the name its catalogue gives it, the translation of Czech's own.
export function ownName(code) {
  // TRANSLATORS: the name of your language in your language, as a list of languages shows it
  // ("English", "polski"): the options screen offers it so.
  const czech = N_('čeština');
  return code === 'cs' ? czech : (texts[code] || {})[czech] || code;
}

// The page's guess while the game loads: the first of the browser's languages ("de-AT" as "de")
// that the page has texts of, else Czech.
export function browserLanguage() {
  const asked = navigator.languages && navigator.languages.length ? navigator.languages
    : [navigator.language];
  for (const name of asked) {
    const code = String(name || '').split('-')[0].toLowerCase();
    if (languages.includes(code)) return code;
  }
  return 'cs';
}

export function pageLanguage() { return language; }

// Shows the page's texts in `code`, where the page has it.
export function showIn(code) {
  if (code === language || !languages.includes(code)) return;
  language = code;
  listeners.forEach((listener) => listener());
}

// Calls `listener` now and each time the page's language changes.
export function whenLanguageChanges(listener) {
  listeners.push(listener);
  listener();
}

language = browserLanguage();
