// The built page in headless Chromium, used as a person would: the sample
// vehicle built from its frame folders and from its model gives velkor-cli's
// SRF to the byte; SRF → PNG → SRF gives the desktop's pixels and bytes, and
// the SRF's GIF the desktop GIF's frames and timing;
// hostile files get a message and leave the page usable; the page asks for
// nothing outside its own origin. Run by scripts/test.sh after
// `scripts/web.sh --build-only` and the native build:
//   node --test web/tests/
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import crypto from 'node:crypto';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import omggif from 'omggif';
import { chromium } from 'playwright-core';
import { PNG } from 'pngjs';
import { serve } from '../tools/serve.mjs';

const top = path.resolve(import.meta.dirname, '../..');
const build = process.env.VELKOR_BUILD_DIR ?? path.join(top, 'build');
const cli = path.join(build, 'velkor-cli');
const sample = path.join(build, 'sample');
const output = path.join(top, 'build-web', 'test-output');
const scratch = fs.mkdtempSync(path.join(os.tmpdir(), 'velkor-web-'));

let server, browser, page, origin;
const requests = [];

const sha256 = (bytes) => crypto.createHash('sha256').update(bytes).digest('hex');
const velkor = (...args) => execFileSync(cli, args, { stdio: ['ignore', 'ignore', 'pipe'] });
const inScratch = (name) => path.join(scratch, name);

before(async () => {
  fs.mkdirSync(output, { recursive: true });
  server = await serve(path.join(top, 'build-web', 'page'));
  origin = `http://127.0.0.1:${server.address().port}`;
  browser = await chromium.launch({
    executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium',
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
           '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
  const context = await browser.newContext({ acceptDownloads: true, viewport: { width: 1150, height: 1300 } });
  context.on('request', (request) => requests.push(request.url()));
  page = await context.newPage();
  await page.goto(`${origin}/`);
});

after(async () => {
  await browser?.close();
  server?.close();
  fs.rmSync(scratch, { recursive: true, force: true });
});

// Waits for the page's job to end; the message line's text when it failed.
async function finished() {
  await page.waitForFunction(() => !document.body.classList.contains('busy'), null, { timeout: 60000 });
  const message = page.locator('#message');
  return (await message.isVisible()) ? message.textContent() : '';
}

async function downloaded(link) {
  const [download] = await Promise.all([page.waitForEvent('download'), page.locator(link).click()]);
  return fs.readFileSync(await download.path());
}

function pixels(pngBytes) {
  const png = PNG.sync.read(pngBytes);
  return { width: png.width, height: png.height, digest: sha256(png.data) };
}

test('the sample built from its frame folders is velkor-cli\'s SRF, static and animated', async () => {
  const animated = path.join(sample, 'Animated');
  const cases = [
    ['static', { '#frames-rotation': path.join(sample, 'Rotation') }, ['--rotation-3d', path.join(sample, 'Rotation')]],
    ['animated', { '#frames-rotation': path.join(animated, 'Rotation'), '#frames-animation': path.join(animated, 'Animation') },
     ['--animated', '--rotation-3d', path.join(animated, 'Rotation'), '--animation-3d', path.join(animated, 'Animation')]],
  ];
  for (const [mode, folders, flags] of cases) {
    await page.selectOption('#mode', mode);
    for (const [input, folder] of Object.entries(folders)) {
      await page.setInputFiles(input, folder);
      assert.equal(await finished(), '');
    }
    assert.match(await page.locator('#framesets').textContent(), /3D: 36 of 36 frames, prefix "car", numbered 0000-0035/);
    await page.click('#do-all');
    assert.equal(await finished(), '', mode);
    const srf = await downloaded('#download-srf');
    velkor('do-all', ...flags, '--keying', 'clean', inScratch(`${mode}.srf`));
    assert.equal(sha256(srf), sha256(fs.readFileSync(inScratch(`${mode}.srf`))), mode);
  }
  await page.selectOption('#mode', 'static');
});

test('the sample model gives the desktop loader\'s scene, velkor-cli\'s axes and SRF', async () => {
  const model = path.join(sample, 'car.glb');
  await page.setInputFiles('#model-file', model);
  assert.equal(await finished(), '');
  const scene = execFileSync(path.join(build, 'velkor-model-loader'), [model]);
  assert.equal(await page.evaluate(() => document.body.dataset.sceneDigest), sha256(scene));
  const axes = execFileSync(cli, ['render', model, inScratch('frames')], { stdio: ['ignore', 'pipe', 'ignore'] });
  assert.equal(await page.locator('#axes').textContent(), String(axes).split('\n')[0]);
  await page.click('#render-build');
  assert.equal(await finished(), '');
  const srf = await downloaded('#download-srf');
  velkor('do-all', '--model', model, '--keying', 'clean', inScratch('model.srf'));
  assert.equal(sha256(srf), sha256(fs.readFileSync(inScratch('model.srf'))));
  // The viewer's device screen is the desktop's Garmin760.bmp, outside the icon's cell.
  const bmp = fs.readFileSync(path.join(build, 'Garmin760.bmp'));
  const [width, height, at] = [bmp.readInt32LE(18), bmp.readInt32LE(22), bmp.readUInt32LE(10)];
  const screen = await page.evaluate(([w, h]) => [...document.getElementById('screen').getContext('2d')
    .getImageData(0, 0, w, h).data], [width, height]);
  const outsideCell = (x, y) => x < 291 || x >= 371 || y < 207;
  for (let y = 0; y < height; ++y) {
    for (let x = 0; x < width; ++x) {
      const i = at + (height - 1 - y) * Math.ceil((width * 3) / 4) * 4 + 3 * x, o = 4 * (y * width + x);
      if (outsideCell(x, y)) assert.deepEqual(screen.slice(o, o + 3), [bmp[i + 2], bmp[i + 1], bmp[i]], `${x},${y}`);
    }
  }
  await page.screenshot({ path: path.join(output, 'web-page.png'), fullPage: true });
  // Sent to a "device" that is the page's private folder, then found there.
  await page.evaluate(async () => {
    const device = await navigator.storage.getDirectory();
    await (await device.getDirectoryHandle('Garmin', { create: true })).getFileHandle('GarminDevice.xml', { create: true });
    window.showDirectoryPicker = async () => device;
  });
  for (const status of ['Sent to Garmin/Vehicle/car.srf', 'Garmin/Vehicle/car.srf is already on the device.']) {
    await page.click('#send');
    assert.equal(await finished(), '');
    assert.equal(await page.locator('#status').textContent(), status);
  }
  // Turned and seen from higher up, as velkor-cli's flags say.
  await page.click('#turn-front');
  await page.fill('#elevation', '45');
  await page.waitForFunction(() => document.getElementById('axes').textContent === 'axes: up +y, front +x');
  await page.click('#render-build');
  assert.equal(await finished(), '');
  velkor('do-all', '--model', model, '--front', '+x', '--elevation', '45', '--keying', 'clean', inScratch('turned.srf'));
  assert.equal(sha256(await downloaded('#download-srf')), sha256(fs.readFileSync(inScratch('turned.srf'))));
});

// Every frame of a GIF decoded (R, G, B, A) with its delay, and the loop count.
function gifFrames(bytes) {
  const gif = new omggif.GifReader(new Uint8Array(bytes));
  const frames = Array.from({ length: gif.numFrames() }, (_, i) => {
    const rgba = new Uint8Array(gif.width * gif.height * 4);
    gif.decodeAndBlitFrameRGBA(i, rgba);
    return { delay: gif.frameInfo(i).delay, digest: sha256(rgba) };
  });
  return { width: gif.width, height: gif.height, loop: gif.loopCount(), frames };
}

test('SRF → PNG → SRF gives the desktop\'s pixels and bytes, the GIF its frames', async () => {
  velkor('srf2png', inScratch('static.srf'), inScratch('desktop.png'));
  await page.setInputFiles('#convert-file', inScratch('static.srf'));
  assert.equal(await finished(), '');
  assert.match(await page.locator('#info').textContent(), /header\.version2\.20/);
  const png = await downloaded('#convert-download');
  assert.deepEqual(pixels(png), pixels(fs.readFileSync(inScratch('desktop.png'))));
  velkor('gif', inScratch('static.srf'), inScratch('desktop.gif'));
  const gif = gifFrames(await downloaded('#convert-gif'));
  assert.equal(gif.frames.length, 36);
  assert.deepEqual(gif, gifFrames(fs.readFileSync(inScratch('desktop.gif'))));
  fs.writeFileSync(inScratch('web.png'), png);
  await page.setInputFiles('#convert-file', inScratch('web.png'));
  assert.equal(await finished(), '');
  const back = await downloaded('#convert-download');
  velkor('png2srf', inScratch('desktop.png'), inScratch('back.srf'));
  assert.equal(sha256(back), sha256(fs.readFileSync(inScratch('back.srf'))));
  // PNGs of other kinds (grey, grey and alpha, RGB) are read as the desktop reads them.
  const picture = PNG.sync.read(png);
  for (const colorType of [0, 4, 2]) {
    const name = `kind${colorType}.png`;
    fs.writeFileSync(inScratch(name), PNG.sync.write(picture, { colorType, inputHasAlpha: true }));
    await page.setInputFiles('#convert-file', inScratch(name));
    assert.equal(await finished(), '', name);
    velkor('png2srf', inScratch(name), inScratch(`${name}.srf`));
    assert.equal(sha256(await downloaded('#convert-download')), sha256(fs.readFileSync(inScratch(`${name}.srf`))), name);
  }
});

test('hostile files get a message and leave the page usable', async () => {
  const glb = fs.readFileSync(path.join(sample, 'car.glb'));
  fs.writeFileSync(inScratch('cut.glb'), glb.subarray(0, 900));
  fs.writeFileSync(inScratch('notes.srf'), 'not an icon\n');
  const huge = new PNG({ width: 1, height: 1 });
  const hugeBytes = PNG.sync.write(huge);
  fs.writeFileSync(inScratch('small.png'), hugeBytes);  // no SRF picture's size
  hugeBytes.writeUInt32BE(20000, 16);  // the header claims 20000 x 20000; its CRC is left alone
  hugeBytes.writeUInt32BE(20000, 20);
  fs.writeFileSync(inScratch('huge.png'), hugeBytes);
  const cases = [['#model-file', 'cut.glb', /Cannot read cut\.glb/],
                 ['#convert-file', 'notes.srf', /notes\.srf/],
                 ['#convert-file', 'huge.png', /20000 x 20000 pixels/],
                 ['#convert-file', 'small.png', /small\.png: the PNG is 1 x 1 pixels; a static SRF picture is 2880 x 150/]];
  for (const [input, name, expected] of cases) {
    await page.setInputFiles(input, inScratch(name));
    assert.match(await finished(), expected, name);
  }
  // Still usable: a good file converts after them.
  await page.setInputFiles('#convert-file', inScratch('static.srf'));
  assert.equal(await finished(), '');
});

test('the page asks for nothing outside its own origin', () => {
  const foreign = requests.filter((url) => !url.startsWith(`${origin}/`) && !/^(blob|data):/.test(url));
  assert.deepEqual(foreign, []);
  assert.ok(requests.some((url) => url.endsWith('/velkor-engine.wasm')));
});
