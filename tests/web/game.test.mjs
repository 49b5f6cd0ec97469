// The web build in Debian's Chromium: served from build/web by a small static server, played
// through the canvas as a player would. The frame's pixels are read back from the canvas.
import { after, before, test } from 'node:test';
import assert from 'node:assert/strict';
import { createServer } from 'node:http';
import { readFile } from 'node:fs/promises';
import { extname, join } from 'node:path';
import { chromium } from 'playwright-core';

const site = new URL('../../build/web/', import.meta.url).pathname;
const types = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm', '.png': 'image/png' };
const start = { x: 523, y: 286 };  // START, in frame pixels
let server, browser, address;

before(async () => {
  server = createServer(async (request, response) => {
    const path = join(site, new URL(request.url, 'http://host').pathname.replace(/\/$/, '/index.html'));
    try {
      const body = await readFile(path);
      response.writeHead(200, { 'Content-Type': types[extname(path)] ?? 'application/octet-stream' }).end(body);
    } catch {
      response.writeHead(404).end();
    }
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  address = `http://127.0.0.1:${server.address().port}/`;
  browser = await chromium.launch({
    executablePath: '/usr/bin/chromium',
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
           '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
});

after(async () => {
  await browser?.close();
  server?.close();
});

// A page of the game in a context of its own (its own storage), failing on any console error.
async function openGame(context) {
  const page = await context.newPage();
  const errors = [];
  page.on('console', (message) => message.type() === 'error' && errors.push(message.text()));
  page.on('pageerror', (error) => errors.push(error.message));
  await page.goto(address);
  await page.waitForFunction(() => {
    const canvas = document.querySelector('canvas');
    const context = canvas.getContext('2d', { willReadFrequently: true });
    return context.getImageData(500, 80, 120, 30).data.some((value, i) => i % 4 === 2 && value > 128);
  });
  return { page, errors };
}

// What the frame shows, read back from the canvas: the figures of SCORE, LEVEL and TIME, each
// digit as its shape, and where the green target ball is (null when none is seen).
async function frame(page) {
  return page.evaluate(() => {
    const canvas = document.querySelector('canvas');
    const context = canvas.getContext('2d', { willReadFrequently: true });
    // Each digit as the list of its lit pixels from its own top left corner.
    const digits = (top) => {
      const { data } = context.getImageData(490, top, 160, 34);
      const lit = (x, y) => x < 160 && data[(y * 160 + x) * 4 + 2] > 128 && data[(y * 160 + x) * 4 + 1] < 64;
      const shapes = [];
      let pixels = [];
      for (let x = 0; x <= 160; ++x) {
        const column = [...Array(34).keys()].filter((y) => lit(x, y)).map((y) => [x, y]);
        pixels.push(...column);
        if (column.length === 0 && pixels.length > 0) {
          const left = Math.min(...pixels.map(([px]) => px)), high = Math.min(...pixels.map(([, py]) => py));
          shapes.push(pixels.map(([px, py]) => `${px - left}:${py - high}`).join(' '));
          pixels = [];
        }
      }
      return shapes;
    };
    const board = context.getImageData(0, 0, 480, canvas.height).data;
    let sx = 0, sy = 0, n = 0;
    for (let i = 0; i < board.length; i += 4) {
      if (board[i + 1] > board[i] + 60 && board[i + 1] > board[i + 2] + 60) {
        sx += (i / 4) % 480; sy += Math.floor(i / 4 / 480); ++n;
      }
    }
    return { score: digits(76), level: digits(116), time: digits(156),
             ball: n > 20 ? { x: sx / n, y: sy / n } : null };
  });
}

// Clicks START and waits for the game to begin: LEVEL reads 00 before, 01 then.
async function startGame(page) {
  await page.locator('canvas').click({ position: start });
  let seen = await frame(page);
  for (let i = 0; i < 100 && seen.level[0] === seen.level[1]; ++i) {
    seen = await frame(page);
  }
  return seen;
}

// Keeps the pointer, or a finger resting on the glass, on the green ball until the score changes.
async function restOnTarget(page, touch) {
  const box = await page.locator('canvas').boundingBox();
  const scale = box.width / 654;
  const finger = touch ? await page.context().newCDPSession(page) : null;
  let seen = await frame(page);
  const before = seen.score.join('|');
  for (let i = 0, until = Date.now() + 10000; Date.now() < until && seen.score.join('|') === before; ++i) {
    const { ball } = seen;
    if (ball) {
      const at = { x: box.x + ball.x * scale, y: box.y + ball.y * scale };
      if (finger) {
        await finger.send('Input.dispatchTouchEvent', { type: i === 0 ? 'touchStart' : 'touchMove', touchPoints: [at] });
      } else {
        await page.mouse.move(at.x, at.y);
      }
    }
    await page.waitForTimeout(30);
    seen = await frame(page);
  }
  return seen;
}

// Counts the effects that reach Web Audio: each run of audio buffers that are not silent.
function countEffects() {
  window.effectsHeard = 0;
  const make = AudioContext.prototype.createScriptProcessor;
  AudioContext.prototype.createScriptProcessor = function (...args) {
    const node = make.apply(this, args);
    let quiet = true;
    Object.defineProperty(node, 'onaudioprocess', { set(fill) {
      node.addEventListener('audioprocess', (event) => {
        fill(event);
        const loud = event.outputBuffer.getChannelData(0).some((sample) => Math.abs(sample) > 1e-3);
        window.effectsHeard += loud && quiet ? 1 : 0;
        quiet = !loud;
      });
    } });
    return node;
  };
}

test('a game in the page: title, START, the clock, 100 for the target by pointer and by touch, heard', async () => {
  for (const touch of [false, true]) {
    const context = await browser.newContext({ hasTouch: touch });
    await context.addInitScript(countEffects);
    const { page, errors } = await openGame(context);
    const title = await frame(page);
    assert.ok(title.score.length === 6, 'the title draws SCORE 000000');
    await page.locator('canvas').click({ position: { x: 525, y: 390 } });  // sound on
    const started = await startGame(page);
    await page.waitForTimeout(1100);
    assert.notEqual((await frame(page)).time.join('|'), started.time.join('|'), 'the clock runs');
    const { level } = started;
    const digit = { [level[0]]: '0', [level[1]]: '1' };
    const score = (await restOnTarget(page, touch)).score.map((shape) => digit[shape] ?? '?');
    assert.equal(score.join(''), '000100', `SCORE by ${touch ? 'touch' : 'pointer'}`);
    await page.waitForFunction(() => window.effectsHeard >= 1);
    assert.deepEqual(errors, []);
    await context.close();
  }
});

const timeShown = async (page) => (await frame(page)).time.join('|');

test('the table in the browser: one tab at a time, a hidden page pauses, kept over a reload', async () => {
  const context = await browser.newContext();
  const { page, errors } = await openGame(context);
  const second = await context.newPage();
  await second.goto(address);
  await second.waitForFunction(() => /open in another tab/.test(document.getElementById('notice').textContent));
  await second.close();

  const started = await startGame(page);
  assert.notDeepEqual((await restOnTarget(page, false)).score, started.score, 'a target scored');
  const setHidden = (hidden) => page.evaluate((value) => {
    Object.defineProperty(document, 'hidden', { value, configurable: true });
    document.dispatchEvent(new Event('visibilitychange'));
  }, hidden);
  await setHidden(true);
  const hidden = await timeShown(page);
  await page.waitForTimeout(1100);
  assert.equal(await timeShown(page), hidden, 'a hidden page stops the clock');

  await setHidden(false);
  await page.locator('canvas').click({ position: start });
  await page.locator('canvas').click({ position: { x: 612, y: 22 } });
  const minimised = await timeShown(page);
  await page.waitForTimeout(1100);
  assert.equal(await timeShown(page), minimised, 'the _ icon pauses');
  await page.locator('canvas').click({ position: start });
  for (let i = 0; i < 400 && (await frame(page)).time.length > 0; ++i) {  // a loaded machine slows the frames
    await page.waitForTimeout(200);
  }
  await page.keyboard.type('AB');
  await page.keyboard.press('Enter');
  await page.reload();
  const kept = await page.evaluate(() => localStorage.getItem('Quibbix/settings.ini'));
  assert.match(kept ?? '', /AB/, 'the name entered is kept');
  assert.deepEqual(errors, []);
  await context.close();
});

test('storage that throws never stops play, and the page says so', async () => {
  const context = await browser.newContext();
  await context.addInitScript(() => Object.defineProperty(window, 'localStorage', {
    get() { throw new DOMException('storage is blocked', 'SecurityError'); },
  }));
  const { page, errors } = await openGame(context);
  const started = (await startGame(page)).time.join('|');
  await page.waitForTimeout(1100);
  assert.notEqual(await timeShown(page), started);
  assert.match(await page.locator('#notice').textContent(), /no storage/);
  assert.deepEqual(errors, []);
  await context.close();
});
