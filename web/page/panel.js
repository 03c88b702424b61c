// The panel over the game: what it says, its progress bar and its one or two buttons, the notes
// under them, and the turn hint of phones held upright; each text shown again in another language
// when the page changes to it.
import { N_, pageLanguage, tr, whenLanguageChanges } from './language.js';

const panel = document.getElementById('panel');
const status = document.getElementById('status');
const progress = document.getElementById('progress');
const play = document.getElementById('play');
const other = document.getElementById('other');
const kept = document.getElementById('kept');

// What the panel says (a marked text, or one with its fields), its buttons' labels and the
// note on the storage.
let said = null;
let buttons = [null, null];
let keptSaid = null;

export const playButton = play;

export function saying() { return said; }

export function say(message) {
  said = message;
  status.textContent = tr(message);
}

// The panel with a text and one or two buttons, each with what it does; `dim` hides the game
// behind it (one that has stopped).
export function show(text, button, action, second, secondAction, dim) {
  say(text);
  progress.hidden = true;
  buttons = [button, second || null];
  play.textContent = tr(button);
  play.onclick = action;
  play.hidden = false;
  other.hidden = !second;
  if (second) {
    other.textContent = tr(second);
    other.onclick = secondAction;
  }
  panel.classList.toggle('over', !!dim);
  panel.hidden = false;
  play.focus();
}

// Hides the panel's buttons while what they started goes on.
export function hideButtons() {
  play.hidden = true;
  other.hidden = true;
}

export function hide() { panel.hidden = true; }
export function shown() { return !panel.hidden; }
export function whenShownOrHidden(listener) {
  new MutationObserver(listener).observe(panel, { attributes: true, attributeFilter: ['hidden'] });
}

// How much of the game's files have come, from 0 to 1.
export function loaded(part) { progress.value = part; }

// Browsers may delete a site's storage when space runs short (Safari after seven days without a
// visit); a site they agree to keep for good they delete only when the player asks.
export function sayKept(granted) {
  keptSaid = granted
    ? N_('Prohlížeč slíbil uložené hry a nastavení uchovat natrvalo.')
    : N_('Prohlížeč neslíbil uložené hry uchovat natrvalo: při nedostatku místa (Safari po ' +
      'sedmi dnech bez návštěvy) je může smazat. Pomůže přidat si hru na plochu nebo do ' +
      'záložek.');
  kept.textContent = tr(keptSaid);
  kept.hidden = false;
}
if (navigator.storage && navigator.storage.persisted) {
  navigator.storage.persisted().then((granted) => { if (granted) sayKept(true); }, () => {});
}

// The installed game's description, that of kelvora.webmanifest, which the build writes in each
// language as kelvora.CODE.webmanifest: the page names the one of its language, so that a
// browser installing it describes the game in the player's language.
// TRANSLATORS: the game installed from its web page, as the system's list of apps describes it.
N_('Zahradnická hra: kupte záhony, pěstujte zeleninu a plňte objednávky zákazníků.');
const manifest = document.querySelector('link[rel="manifest"]');

whenLanguageChanges(() => {
  const language = document.documentElement.lang = pageLanguage();
  manifest.href = language === 'cs' ? 'kelvora.webmanifest' : 'kelvora.' + language + '.webmanifest';
  if (said) status.textContent = tr(said);
  if (buttons[0]) play.textContent = tr(buttons[0]);
  if (buttons[1]) other.textContent = tr(buttons[1]);
  if (keptSaid) kept.textContent = tr(keptSaid);
  document.getElementById('note').textContent =
    tr(N_('Celá obrazovka: F11 nebo Alt+Enter. Uložené hry a nastavení si pamatuje tento prohlížeč.'));
  document.getElementById('turn').textContent = tr(N_('Otočte zařízení na šířku.'));
});
