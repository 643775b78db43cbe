// The page in Chromium, used as a person uses it: every kind of user folder exports exactly
// what the console tool's `--all` writes; bad input is told in words; Stop keeps whole
// records; nothing goes to the network; the keyboard reaches everything; no serious
// accessibility finding. Needs the built page (scripts/web), the console tool and Chromium.
'use strict';

const test = require('node:test');
const assert = require('node:assert/strict');
const fs = require('node:fs');
const path = require('node:path');
const {startSite, openPage, TIME_ZONE} = require('./support/browser.js');
const folders = require('./support/folders.js');
const person = require('./support/person.js');

let site;
let work;

test.before(async () => {
  site = await startSite();
  work = folders.tempFolder('page');
});

test.after(async () => {
  await site.close();
  fs.rmSync(work, {recursive: true, force: true});
});

// Opens the page, runs `body`, then checks what every test must hold: no script error and
// no request after the core was loaded, and only requests to the page's own address.
async function onPage(body, size) {
  const session = await openPage(site, size);
  try {
    await body(session.page, session);
    assert.deepEqual(session.errors, [], 'script errors');
    assert.deepEqual(session.afterLoad, [], 'requests after the page had loaded');
    for (const url of session.requests) assert.ok(url.startsWith(site.url), `request to ${url}`);
  } finally {
    await session.context.close();
  }
}

// Each case: how the folder is made, how it is chosen ("folder", "files" or a zip of it), and
// what the summary must say beside being the console's.
const kit = (where) => (dir) => folders.kitFolder(dir, where);
const KINDS = [
  ['desktop user folder', (dir) => folders.desktopFolder(dir, 'SmithJ'), 'folder', /all done/],
  ['handheld backups', kit('later/cases/050-all-extra-ids/given/Jones'), 'folder', /handheld/],
  ['both generations', kit('later/cases/049-all-both-generations/given/SmithJ'), 'folder', /copy/],
  ['later desktop', kit('desktop-later/cases/026-later-user-folder/later/SmithJ'), 'folder', /./],
  [
    'version 6', kit('desktop-later/cases/027-version6-user-folder/later/Palm OS Desktop/SmithJ'),
    'folder', /DateBook\.mdb.*version 6/
  ],
  ['a damaged date book', (dir) => folders.damagedFolder(dir), 'folder', /ended early/],
  ['non-ASCII names', (dir) => folders.nonAsciiFolder(dir), 'folder', /Geschäft/],
  ['zip, UTF-8 names', (dir) => folders.nonAsciiFolder(dir), 'zip', /Geschäft/],
  [
    'zip, CP437 names', (dir) => folders.desktopFolder(dir, 'Müller Ærö'), 'zip-cp437',
    /Müller Ærö/
  ],
  ['loose files', (dir) => folders.desktopFolder(dir, 'Loose'), 'files', /all done/],
  [
    'zip dropped on the page', (dir) => folders.desktopFolder(dir, 'Dropped'), 'drop-zip',
    /all done/
  ],
];

// Chooses `folder` as `how` says; gives the folder the console tool is to export.
async function chooseAs(page, folder, how, dir) {
  if (how === 'folder') {
    await person.chooseFolder(page, folder);
    return folder;
  }
  if (how === 'files') {
    const loose = path.join(dir, 'loose');
    for (const rel of folders.filesUnder(folder))
      folders.copyFile(path.join(folder, rel), path.join(loose, path.basename(rel)));
    await person.chooseFiles(page, folders.filesUnder(loose).map((f) => path.join(loose, f)));
    return loose;
  }
  const names = how === 'zip-cp437' ? 'cp437' : 'utf8';
  const zip = folders.zipOf(folder, path.join(dir, `${path.basename(folder)}.zip`), names);
  if (how === 'drop-zip')
    await person.dropFile(page, zip);
  else
    await person.chooseFiles(page, [zip]);
  return folder;
}

test('every kind of user folder exports as the console tool\'s --all does', async () => {
  for (const [what, make, how, says] of KINDS) {
    const dir = fs.mkdtempSync(path.join(work, 'kind-'));
    const folder = make(dir);
    await onPage(async (page) => {
      const chosen = await chooseAs(page, folder, how, dir);
      const native =
          person.consoleExport(chosen, path.join(dir, 'console-out'), ['--time-zone', TIME_ZONE]);
      const summary = await person.exportAll(page);
      const download = await person.downloadAll(page);
      person.assertSameFiles(download.files, native.files, what);
      const pageFolder = how === 'files' ? '/in' : `/in/${path.basename(folder)}`;
      const [onPage, printed] = person.summaries(summary, native, chosen, pageFolder);
      assert.equal(onPage, printed, `${what}: summary`);
      assert.match(summary, says, what);
      const links = await page.locator('#file-links a').allInnerTexts();
      assert.deepEqual(
          links.sort(), [...native.files.keys()].sort(), `${what}: a link per file written`);
    });
  }
});

// Each case: how the input is made and chosen, and what the list of what was found must say.
// None of them can be exported, so Export stays off.
const REFUSED = [
  [
    'a file that is no archive', (dir) => files(dir, {'notes.txt': 'Shopping: milk, bread.'}),
    /1 file chosen\.[^]*no archive found/
  ],
  ['an empty folder', (dir) => folder(dir, 'Empty', {}), /0 files chosen\.[^]*no archive found/],
  [
    'a damaged zip', (dir) => files(dir, {'SmithJ.zip': 'PK\u0003\u0004 this zip was cut'}),
    /SmithJ\.zip: the zip cannot be read/
  ],
  [
    'a zip holding no archive', (dir) => zipOfFiles(dir, {'Photos/cat.jpg': '\xff\xd8\xff\xe0'}),
    /no archive/i
  ],
  ['10,000 unrelated files', (dir) => folder(dir, 'Downloads', manyFiles(10000)), /no archive/i],
];

function writeFiles(root, contents) {
  for (const [rel, text] of Object.entries(contents)) {
    fs.mkdirSync(path.dirname(path.join(root, rel)), {recursive: true});
    fs.writeFileSync(path.join(root, rel), text, 'latin1');
  }
}

function files(dir, contents) {
  writeFiles(dir, contents);
  return {how: 'files', paths: Object.keys(contents).map((rel) => path.join(dir, rel))};
}

function folder(dir, name, contents) {
  fs.mkdirSync(path.join(dir, name));
  writeFiles(path.join(dir, name), contents);
  return {how: 'folder', paths: path.join(dir, name)};
}

function zipOfFiles(dir, contents) {
  const source = folder(dir, 'Stuff', contents).paths;
  return {how: 'files', paths: [folders.zipOf(source, path.join(dir, 'Stuff.zip'), 'utf8')]};
}

function manyFiles(count) {
  const contents = {};
  for (let i = 0; i < count; i++) contents[`file${i}.txt`] = `line ${i}\n`;
  return contents;
}

test('input that holds no archive is told in words, and nothing can be exported', async () => {
  for (const [what, make, expected] of REFUSED) {
    const dir = fs.mkdtempSync(path.join(work, 'refused-'));
    const input = make(dir);
    await onPage(async (page) => {
      if (input.how === 'folder')
        await person.chooseFolder(page, input.paths);
      else
        await person.chooseFiles(page, input.paths);
      assert.match(await page.locator('#found').innerText(), expected, what);
      assert.ok(await page.getByRole('button', {name: 'Export'}).isDisabled(), `${what}: Export`);
    });
  }
});

test('a file the browser cannot read is named with why, and the others are exported', async () => {
  const dir = fs.mkdtempSync(path.join(work, 'unreadable-'));
  const user = folders.desktopFolder(dir, 'SmithJ');
  fs.writeFileSync(path.join(user, 'datebook/Unreadable.dat'), 'x');
  await onPage(async (page) => {
    // What Chromium does when a chosen file changed or went away before it was read.
    await page.workers()[0].evaluate(() => {
      const read = File.prototype.arrayBuffer;
      File.prototype.arrayBuffer = function() {
        if (this.name !== 'Unreadable.dat') return read.call(this);
        return Promise.reject(new DOMException('gone', 'NotReadableError'));
      };
    });
    await person.chooseFolder(page, user);
    const found = await page.locator('#found').innerText();
    assert.match(
        found, /datebook\/Unreadable\.dat: the browser could not read it \(NotReadableError\)/);
    assert.match(found, /datebook\/Datebook\.dat/);
    await person.exportAll(page);
    const download = await person.downloadAll(page);
    assert.ok(download.files.has('calendar.ics'));
  });
});

// A calendar's events without their DTSTAMP lines, in order.
function events(bytes) {
  const text = bytes.toString('utf8').replace(/^DTSTAMP:[^\r\n]*\r?\n/gm, '');
  return text.split('BEGIN:VEVENT').slice(1).map((e) => e.split('END:VEVENT')[0]);
}

// After a stop every file holds whole records: the journal is the console's first rows, the
// calendar the console's first events, anything else is as the console writes it.
function assertWholeRecords(downloaded, complete) {
  for (const [rel, bytes] of downloaded) {
    const full = complete.get(rel);
    assert.ok(full, `${rel} is one of the console's files`);
    if (rel.endsWith('.csv')) {
      assert.ok(full.subarray(0, bytes.length).equals(bytes), `${rel}: the console's first rows`);
      assert.ok(
          bytes.length === 0 || bytes.toString('latin1').endsWith('\r\n'), `${rel}: whole rows`);
    } else if (rel.endsWith('.ics')) {
      const got = events(bytes);
      assert.deepEqual(
          got, events(full).slice(0, got.length), `${rel}: the console's first events`);
    }
  }
}

test('Stop during a long run keeps whole records and says so', async () => {
  const dir = fs.mkdtempSync(path.join(work, 'stop-'));
  const user = folders.bigDatebookFolder(dir, 327670);
  const complete =
      person.consoleExport(user, path.join(dir, 'console-out'), ['--time-zone', TIME_ZONE]);
  await onPage(async (page) => {
    await person.chooseFolder(page, user);
    await page.getByRole('button', {name: 'Export'}).click();
    await page.waitForFunction(
        () => document.getElementById('progress-bar').value > 0, null, {timeout: person.LONG});
    await page.getByRole('button', {name: 'Stop'}).click();
    await page.locator('#result').waitFor({state: 'visible', timeout: person.LONG});
    assert.match(await page.locator('#summary').innerText(), /Stopped/);
    if (await page.getByRole('button', {name: 'Download all (.zip)'}).isVisible()) {
      const download = await person.downloadAll(page);
      assertWholeRecords(download.files, complete.files);
      assert.ok(
          !download.files.get('journal.csv')?.equals(complete.files.get('journal.csv')),
          'stopped before the end');
    }
  });
});

// The names of the controls Tab reaches from the top of the page, up to `count` of them.
async function tabTo(page, name, count = 25) {
  for (let i = 0; i < count; i++) {
    await page.keyboard.press('Tab');
    const focused = await page.evaluate(() => {
      const el = document.activeElement;
      return (el.labels && el.labels[0] ? el.labels[0].textContent : el.textContent).trim();
    });
    if (focused === name) return;
  }
  assert.fail(`Tab does not reach "${name}"`);
}

test('the keyboard alone chooses a folder, exports and downloads', async () => {
  const dir = fs.mkdtempSync(path.join(work, 'keyboard-'));
  const user = folders.desktopFolder(dir, 'SmithJ');
  await onPage(async (page) => {
    await tabTo(page, 'Choose a folder');
    const [chooser] =
        await Promise.all([page.waitForEvent('filechooser'), page.keyboard.press('Space')]);
    await chooser.setFiles(user);
    await person.waitForScan(page);
    await tabTo(page, 'Export');
    await page.keyboard.press('Enter');
    await page.locator('#result').waitFor({state: 'visible', timeout: person.LONG});
    await tabTo(page, 'Download all (.zip)');
    const [download] =
        await Promise.all([page.waitForEvent('download'), page.keyboard.press('Enter')]);
    assert.equal(download.suggestedFilename(), 'SmithJ-export.zip');
    await tabTo(page, 'calendar.ics');
    // A file's own link gives the file's bytes, the same as in the zip.
    const [one] = await Promise.all([page.waitForEvent('download'), page.keyboard.press('Enter')]);
    assert.equal(one.suggestedFilename(), 'calendar.ics');
    const zipped = person.unzip(fs.readFileSync(await download.path())).get('calendar.ics');
    assert.ok(fs.readFileSync(await one.path()).equals(zipped));
  });
});

test('no serious accessibility finding, wide or narrow, before and after an export', async () => {
  const {default: AxeBuilder} = require('@axe-core/playwright');
  const dir = fs.mkdtempSync(path.join(work, 'axe-'));
  const user = folders.desktopFolder(dir, 'SmithJ');
  for (const size of [{width: 1100, height: 900}, {width: 360, height: 740}]) {
    await onPage(async (page) => {
      const findings = async (when) => {
        const {violations} = await new AxeBuilder({page}).analyze();
        const serious = violations.filter((v) => v.impact === 'serious' || v.impact === 'critical');
        assert.deepEqual(serious.map((v) => `${v.id}: ${v.help}`), [], `${size.width}px, ${when}`);
      };
      await findings('on opening');
      await person.chooseFolder(page, user);
      await person.exportAll(page);
      await page.locator('details').first().click();
      await findings('after an export');
      const overflow =
          await page.evaluate(() => document.documentElement.scrollWidth - window.innerWidth);
      assert.ok(overflow <= 0, `${size.width}px: the page is ${overflow}px wider than the window`);
      if (process.env.VESSORY_WEB_SCREENSHOT && size.width > 1000)
        await page.screenshot({path: process.env.VESSORY_WEB_SCREENSHOT, fullPage: true});
    }, size);
  }
});

// Each case: what is set on the page (label: text, or true/false for a box), the console's
// options for the same, and whether the daily notes are left out.
const OPTIONS = [
  ['a journal from the list', {'Journal name': 'logbuch'}, ['-j', 'logbuch']],
  ['other keyword delimiters', {'Keyword delimiters': '[]'}, ['-k', '[]']],
  ['no keyword column', {'Keyword delimiters': ''}, ['-k', '']],
  ['a character set', {'Character set': 'windows-1252'}, ['--encoding', 'windows-1252']],
  ['deleted records', {'Include deleted records': true}, ['--include-deleted']],
  ['another time zone', {'Time zone': 'America/New_York'}, ['--time-zone', 'America/New_York']],
  ['no daily notes', {'Also write the journal as daily notes': false}, [], 'no notes'],
];

const GUIDE = 'How to import.txt';

async function setOption(page, label, value) {
  const control = page.getByLabel(label, {exact: true});
  if (value === true)
    await control.check();
  else if (value === false)
    await control.uncheck();
  else
    await control.fill(value);
}

test('each option gives what the console tool gives with it', async () => {
  const dir = fs.mkdtempSync(path.join(work, 'options-'));
  const user = folders.desktopFolder(dir, 'SmithJ');
  const listed = person.consoleList(path.join(user, 'datebook/Datebook.dat'));
  for (const [what, set, args, noNotes] of OPTIONS) {
    await onPage(async (page) => {
      await person.chooseFolder(page, user);
      const journals =
          await page.locator('#journals option')
              .evaluateAll((options) => options.map((o) => [o.label.split(' ')[0], o.value]));
      assert.deepEqual(journals, listed, 'the journals, as --list-journals counts them');
      for (const [label, value] of Object.entries(set)) await setOption(page, label, value);
      const zone = args.includes('--time-zone') ? [] : ['--time-zone', TIME_ZONE];
      const native = person.consoleExport(user, path.join(dir, 'console-out'), [...args, ...zone]);
      const summary = await person.exportAll(page);
      const {files} = await person.downloadAll(page);
      if (noNotes) {
        // The console always writes the notes: its files without them, and the guide and
        // summary that no longer name them.
        for (const text of [summary, files.get(GUIDE).toString('utf8')])
          assert.doesNotMatch(text, /daily notes: \d+ days/, what);
        for (const rel of [...native.files.keys()])
          if (rel.startsWith('journal/') || rel === GUIDE) native.files.delete(rel);
        files.delete(GUIDE);
      } else {
        assert.equal(...person.summaries(summary, native, user, '/in/SmithJ'), what);
      }
      person.assertSameFiles(files, native.files, what);
    });
  }
});
