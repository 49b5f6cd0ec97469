// Runs inside the game's module before it starts: puts the settings text kept in the browser's
// storage, under this page's origin, where the game reads its settings file, and keeps the file
// there again each time the game saves. Storage that throws never stops the game: it plays with
// an empty table and the page says so once.
var quibbixStorageKey = 'Quibbix/settings.ini';

Module.preRun = Module.preRun || [];
Module.preRun.push(function () {
  FS.mkdir('/settings');
  var text = null;
  try {
    text = window.localStorage.getItem(quibbixStorageKey);
  } catch (error) {
    Module.quibbixNotice('The browser keeps no storage for this page: the table lasts only while it is open.');
  }
  if (typeof text === 'string') {
    FS.writeFile('/settings/settings.ini', text);
  }
});

Module.quibbixSettingsSaved = function (refusal) {
  if (refusal) {
    Module.quibbixNotice('The table was not saved: ' + refusal);
    return;
  }
  try {
    if (FS.analyzePath('/settings/settings.ini').exists) {
      window.localStorage.setItem(quibbixStorageKey, FS.readFile('/settings/settings.ini', {encoding: 'utf8'}));
    }
  } catch (error) {
    Module.quibbixNotice('The browser refused to keep the table (' + error.name + '): it lasts only while the page is open.');
  }
};
