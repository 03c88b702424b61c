// A page opened straight from a file on the disk cannot run the game, and most browsers run none
// of its modules there either. This one classic script says so, in the browser's language where
// the page has its texts (texts.js), and offers to load the page again; where the modules run
// all the same, they leave its words be.
'use strict';
if (location.protocol === 'file:') {
  const N_ = (czech) => czech;
  const table = (self.kelvoraTexts || {})[(navigator.language || '').split('-')[0]] || {};
  const tr = (czech) => table[czech] || czech;
  document.getElementById('status').textContent = tr(N_('Stránka je otevřená přímo ze souboru ' +
    'na disku a prohlížeč z ní hru nespustí. Zpřístupněte její složku webovým serverem (ve ' +
    'zdrojích hry scripts/run-web, jinak třeba příkaz „python3 -m http.server“ spuštěný v té ' +
    'složce) a otevřete adresu, kterou vypíše.'));
  const again = document.getElementById('play');
  again.textContent = tr(N_('Načíst znovu'));
  again.onclick = () => { location.reload(); };
  again.hidden = false;
  document.getElementById('progress').hidden = true;
}
