// The browser build in Debian's Chromium, via playwright-core and a local static server; no check
// may leave a console error. Modes: gallery DIST PROGRAM... | layout DIST PROGRAM |
// program DIST PROGRAM EXE PICTURES OUT (first frames against the runner's, start/pause, Space,
// phase field, Escape; a mismatch leaves OUT/actual-LANG.png and diff-LANG.png).
'use strict';
const fs = require('fs');
const path = require('path');
// Exit code 77 tells ctest the test was skipped: the web build or the npm package is not there.
const skipped = 77;
let chromium;
try {
  ({ chromium } = require('playwright-core'));
} catch {
  console.log('skipped: playwright-core is not installed (./qorin test installs it)');
  process.exit(skipped);
}
const { spawn, execFileSync } = require('child_process');

const width = 1024, height = 768;
const flags = ['--headless', '--no-sandbox', '--disable-gpu', '--disable-background-networking',
  '--disable-component-update', '--disable-sync', '--no-first-run'];

// What the checks need to know of each program at 1024 x 768: a point on its start/pause face,
// whether it runs from the start (the first click then pauses it), and for a program with a phase
// field, a point in the field right of its text (the caret goes to the end) and the caption's box
// (x, y, w, h).
const programTable = {
  Qorin1: { start: [276, 738] },
  Qorin2: { start: [86, 738], startsRunning: true },
  Qorin3: { start: [96, 738] },
  Qorin4: { start: [86, 738], phaseField: [197, 595], caption: [614, 541, 410, 45] },
  Qorin5: { start: [96, 738], startsRunning: true },
  Qorin6: { start: [86, 738] },
};

// Window sizes and the screens they give: the desktop's rule in device pixels.
const layouts = [
  { viewport: [1024, 768], scale: 1, logical: [1024, 768], shown: [1024, 768] },
  { viewport: [1920, 1080], scale: 2, logical: [1920, 1080], shown: [1920, 1080] },  // 2 x 2 blocks
  { viewport: [1280, 800], scale: 2, logical: [2560, 1600], shown: [1280, 800] },    // 1 device pixel each
  { viewport: [600, 400], scale: 1, logical: [640, 480], shown: [533, 400] },        // shrunk, 4:3 kept
];

function fail(message) {
  throw new Error(message);
}

function serve(dist) {
  return new Promise((resolve, reject) => {
    const server = spawn(process.execPath, [path.join(__dirname, '../../web/serve.js'), dist, '0'],
      { stdio: ['ignore', 'pipe', 'inherit'] });
    server.stdout.on('data', chunk => {
      const found = /serving (\S+)/.exec(String(chunk));
      if (found)
        resolve({ server, address: found[1] });
    });
    server.on('exit', code => reject(new Error('server ended with ' + code)));
  });
}

async function withBrowser(dist, body) {
  const { server, address } = await serve(dist);
  const browser = await chromium.launch({ executablePath: '/usr/bin/chromium', args: flags, headless: true });
  try {
    await body(browser, address);
  } finally {
    await browser.close();
    server.kill();
  }
}

async function newPage(browser, viewport = [width, height], scale = 1) {
  const page = await browser.newPage({ viewport: { width: viewport[0], height: viewport[1] }, deviceScaleFactor: scale });
  page.errors = [];
  page.on('console', message => {
    if (message.type() === 'error')
      page.errors.push(message.text());
  });
  page.on('pageerror', error => page.errors.push(String(error)));
  page.on('requestfailed', request => page.errors.push('failed to load ' + request.url()));
  return page;
}

function noErrors(page) {
  if (page.errors.length)
    fail('console errors:\n  ' + page.errors.join('\n  '));
}

async function openProgram(page, address, name, lang) {
  await page.goto(address + name + '.html' + (lang === 'ru' ? '?lang=ru' : ''));
  await page.waitForFunction(() => window.Module && Module.qorin && Module.qorin.frames > 0, null, { timeout: 20000 });
}

async function gallery(dist, programs) {
  await withBrowser(dist, async (browser, address) => {
    const page = await newPage(browser);
    for (const lang of ['en', 'ru']) {
      await page.goto(address + 'index.html' + (lang === 'ru' ? '?lang=ru' : ''));
      await page.waitForLoadState('load');
      const cards = await page.$$eval('.card', all => all.map(card => ({
        id: card.id, href: card.getAttribute('href'), text: card.innerText,
        picture: card.querySelector('img').naturalWidth,
      })));
      const ids = cards.map(card => card.id).join(' ');
      if (ids !== programs.map(name => 'card-' + name).join(' '))
        fail(`${lang}: cards ${ids}, expected one per program: ${programs.join(' ')}`);
      for (const card of cards) {
        const name = card.id.slice(5);
        const href = name + '.html' + (lang === 'ru' ? '?lang=ru' : '');
        if (card.href !== href)
          fail(`${lang}: ${name} links to ${card.href}, expected ${href}`);
        if (!card.picture)
          fail(`${lang}: ${name}'s picture did not load`);
        const [, description, language] = card.text.split('\n').filter(line => line.trim());
        if (!description || description.length < 20)
          fail(`${lang}: ${name} has no description`);
        if (!language || !language.includes(lang === 'ru' ? 'русском' : 'English'))
          fail(`${lang}: ${name} names its language as "${language}"`);
      }
    }
    // A click on a card opens its program full window.
    await page.click('#card-' + programs[0]);
    await page.waitForURL(new RegExp(programs[0] + '\\.html\\?lang=ru$'));
    await page.waitForFunction(() => window.Module && Module.qorin && Module.qorin.frames > 0);
    const box = await page.$eval('canvas', canvas => canvas.getBoundingClientRect().toJSON());
    if (box.width !== width || box.height !== height)
      fail(`the canvas covers ${box.width} x ${box.height} of the ${width} x ${height} window`);
    noErrors(page);
  });
}

// For each window: the canvas has the logical size and covers the shown size (CSS pixels), and
// a click on the exit button, (W - 171, 10) 150 x 50 in every program, lands through the scaling.
async function layout(dist, name) {
  await withBrowser(dist, async (browser, address) => {
    for (const { viewport, scale, logical, shown } of layouts) {
      const page = await newPage(browser, viewport, scale);
      const what = `${viewport.join('x')} at ${scale}x`;
      await openProgram(page, address, name, 'en');
      const got = await page.$eval('canvas', canvas => {
        const box = canvas.getBoundingClientRect();
        return { logical: [canvas.width, canvas.height], shown: [box.width, box.height], left: box.left, top: box.top,
                 rendering: getComputedStyle(canvas).imageRendering };
      });
      if (got.logical.join('x') !== logical.join('x'))
        fail(`${what}: the screen is ${got.logical.join('x')}, expected ${logical.join('x')}`);
      if (Math.abs(got.shown[0] - shown[0]) > 0.5 || Math.abs(got.shown[1] - shown[1]) > 0.5)
        fail(`${what}: the canvas shows as ${got.shown.join('x')}, expected ${shown.join('x')}`);
      if (got.rendering !== 'pixelated')
        fail(`${what}: image-rendering is ${got.rendering}`);
      const toPage = (x, y) => [got.left + (x + 0.5) * got.shown[0] / logical[0], got.top + (y + 0.5) * got.shown[1] / logical[1]];
      const [x, y] = toPage(logical[0] - 171 + 75, 35);
      await page.mouse.click(x, y);
      await page.waitForURL(/\/index\.html$/, { timeout: 5000 });
      noErrors(page);
      await page.close();
    }
  });
}

// The runner's frame 1 at the page's size, asked for by number: a program that sleeps after
// taking its last message ends a second frame before it sees the window close.
function runnerFrame(exe, pictures, out) {
  fs.rmSync(out, { recursive: true, force: true });
  execFileSync(exe, [], {
    cwd: pictures, stdio: ['ignore', 'ignore', 'inherit'],
    env: Object.assign({}, process.env, { QORIN_VIDEO: 'headless', QORIN_SIZE: `${width}x${height}`, QORIN_FRAMES: '1', QORIN_SHOT: '1', QORIN_OUT: out }),
  });
  return fs.readFileSync(path.join(out, 'frame-1.png'));
}

// Frame 1 as the canvas showed it, against the runner's PNG decoded by the same browser.
async function compareFirstFrame(page, expected, out, lang) {
  const result = await page.evaluate(async png => {
    const picture = new Image();
    picture.src = 'data:image/png;base64,' + png;
    await picture.decode();
    const scratch = document.createElement('canvas');
    scratch.width = picture.width;
    scratch.height = picture.height;
    const context = scratch.getContext('2d');
    context.drawImage(picture, 0, 0);
    const want = context.getImageData(0, 0, picture.width, picture.height);
    const got = Module.qorin.firstFrame;
    if (got.width !== want.width || got.height !== want.height)
      return { size: `${got.width}x${got.height}, runner ${want.width}x${want.height}` };
    const diff = context.createImageData(want.width, want.height);
    let first = null, count = 0;
    for (let i = 0; i < want.data.length; i += 4) {
      const same = want.data[i] === got.data[i] && want.data[i + 1] === got.data[i + 1] && want.data[i + 2] === got.data[i + 2];
      diff.data.set(same ? [255, 255, 255, 255] : [255, 0, 0, 255], i);
      if (!same && count++ === 0) {
        const p = i / 4;
        first = { x: p % want.width, y: Math.floor(p / want.width), got: [...got.data.slice(i, i + 3)], want: [...want.data.slice(i, i + 3)] };
      }
    }
    if (!count)
      return { count };
    const toPng = image => {
      const c = document.createElement('canvas');
      c.width = image.width;
      c.height = image.height;
      c.getContext('2d').putImageData(image, 0, 0);
      return c.toDataURL('image/png').split(',')[1];
    };
    return { count, first, actual: toPng(got), diff: toPng(diff) };
  }, expected.toString('base64'));
  if (result.size)
    fail(`${lang}: first frame is ${result.size}`);
  if (result.count) {
    fs.writeFileSync(path.join(out, `actual-${lang}.png`), Buffer.from(result.actual, 'base64'));
    fs.writeFileSync(path.join(out, `diff-${lang}.png`), Buffer.from(result.diff, 'base64'));
    const f = result.first;
    fail(`${lang}: first frame differs from the runner's in ${result.count} pixels; first at (${f.x}, ${f.y}): ` +
      `rgb(${f.got}) instead of rgb(${f.want}); see ${out}/actual-${lang}.png and diff-${lang}.png`);
  }
}

async function canvasRegion(page, [x, y, w, h]) {
  return page.evaluate(([x, y, w, h]) =>
    Array.from(document.getElementById('canvas').getContext('2d').getImageData(x, y, w, h).data).join(','), [x, y, w, h]);
}

async function program(dist, name, exe, pictures, out) {
  const known = programTable[name] || fail(`${name} is missing from programTable`);
  fs.mkdirSync(out, { recursive: true });
  await withBrowser(dist, async (browser, address) => {
    for (const lang of ['ru', 'en']) {
      const expected = runnerFrame(exe, path.join(pictures, lang, name), path.join(out, 'runner-' + lang));
      const page = await newPage(browser);
      await openProgram(page, address, name, lang);
      const firstFrameMs = await page.evaluate(() => Module.qorin.firstFrameMs);
      console.log(`${name} (${lang}): first frame ${firstFrameMs.toFixed(0)} ms after the page began loading`);
      await compareFirstFrame(page, expected, out, lang);
      if (lang === 'ru') {
        noErrors(page);
        await page.close();
        continue;
      }

      // The phase field: typing a new value changes the caption under the plane view.
      if (known.phaseField) {
        const before = await canvasRegion(page, known.caption);
        await page.mouse.click(...known.phaseField);
        for (let i = 0; i < 8; ++i)
          await page.keyboard.press('Backspace');
        await page.keyboard.type('0');
        await page.waitForTimeout(300);
        if (await canvasRegion(page, known.caption) === before)
          fail('typing 0 into the phase field left the caption as it was');
      }

      // Start/pause: each click flips between a picture that stands still and one that moves.
      const button = known.start || fail(`no start/pause position for ${name} in programTable`);
      const canvas = await page.$('canvas');
      const settle = async () => {
        await page.waitForTimeout(300);
        const first = await canvas.screenshot();
        await page.waitForTimeout(300);
        return [first, await canvas.screenshot()];
      };
      const before = await canvas.screenshot();
      await page.mouse.click(...button);
      const [clicked, clickedLater] = await settle();
      if (known.startsRunning) {
        if (!clicked.equals(clickedLater))
          fail('the start/pause click did not stop the picture');
        await page.mouse.click(...button);
        const [again, againLater] = await settle();
        if (again.equals(againLater))
          fail('a second start/pause click did not set the picture moving again');
      } else {
        if (before.equals(clicked))
          fail('the start/pause click changed nothing');
        if (clicked.equals(clickedLater))
          fail('after start the picture stands still');
      }

      // Space held freezes the picture while the page stays responsive; released, it moves on.
      await page.keyboard.down('Space');
      await page.waitForTimeout(100);
      const held = await canvas.screenshot();
      await page.waitForTimeout(300);
      const stillHeld = await canvas.screenshot();
      await page.keyboard.up('Space');
      await page.waitForTimeout(300);
      const released = await canvas.screenshot();
      if (!held.equals(stillHeld))
        fail('the picture moved while Space was held');
      if (released.equals(stillHeld))
        fail('the picture stayed frozen after Space was released');

      // Escape ends the program and the page returns to the gallery.
      await page.keyboard.press('Escape');
      await page.waitForURL(/\/index\.html$/, { timeout: 5000 });
      await page.waitForSelector('#card-' + name);
      noErrors(page);
    }
  });
}

async function main() {
  const [mode, dist, ...rest] = process.argv.slice(2);
  if (!fs.existsSync(path.join(dist || '', 'index.html'))) {
    console.log(`skipped: no web build in ${dist} (./qorin test or ./qorin web --no-serve makes it)`);
    process.exit(skipped);
  }
  if (mode === 'gallery')
    await gallery(dist, rest);
  else if (mode === 'layout')
    await layout(dist, rest[0]);
  else if (mode === 'program')
    await program(dist, ...rest);
  else
    fail('usage: browser_test.js gallery|layout|program ...');
}

main().catch(error => {
  console.error(String(error.stack || error));
  process.exit(1);
});
