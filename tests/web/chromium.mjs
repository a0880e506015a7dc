// Headless Chromium driven through its DevTools pipe, with nothing but Node:
// one page of 480 x 360 CSS pixels at 1:1, opened, keyed and photographed.
import {spawn} from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

export async function launchChromium(program) {
    const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'velmora-chromium-'));
    const options = [
        '--headless', '--disable-gpu', '--no-first-run', '--disable-background-networking',
        '--disable-component-update', '--disable-sync', `--user-data-dir=${profile}`,
        '--allow-file-access-from-files', '--remote-debugging-pipe'
    ];
    if (process.getuid() === 0)
        options.push('--no-sandbox');
    const browser =
        spawn(program, options, {stdio: ['ignore', 'ignore', 'ignore', 'pipe', 'pipe']});
    const waiting = new Map();
    let received = '';
    browser.stdio[4].on('data', (chunk) => {
        received += chunk;
        for (let end; (end = received.indexOf('\0')) >= 0; received = received.slice(end + 1)) {
            const message = JSON.parse(received.slice(0, end));
            const answer = waiting.get(message.id);
            waiting.delete(message.id);
            if (answer)
                message.error ? answer.reject(new Error(message.error.message)) :
                                answer.resolve(message.result);
        }
    });
    let lastId = 0;
    const send = (method, params, sessionId) => new Promise((resolve, reject) => {
        waiting.set(++lastId, {resolve, reject});
        browser.stdio[3].write(JSON.stringify({id: lastId, method, params, sessionId}) + '\0');
    });
    const {targetId} = await send('Target.createTarget', {url: 'about:blank'});
    const {sessionId} = await send('Target.attachToTarget', {targetId, flatten: true});
    const page = (method, params = {}) => send(method, params, sessionId);
    await page(
        'Emulation.setDeviceMetricsOverride',
        {width: 480, height: 360, deviceScaleFactor: 1, mobile: false});
    const state = async () => (await page('Runtime.evaluate', {
                                  expression: 'document.documentElement.dataset.viewer',
                                  returnByValue: true,
                              })).result.value;

    return {
        // Opens `url` and waits until the page says it is ready.
        async open(url) {
            await page('Page.navigate', {url});
            for (const start = Date.now(); Date.now() - start < 30000; await sleep(50)) {
                if (await state().catch(() => null) === 'ready')
                    return;
            }
            throw new Error(`${url} did not get ready`);
        },
        async press(code, key, keyCode) {
            for (const type of ['rawKeyDown', 'keyUp'])
                await page(
                    'Input.dispatchKeyEvent', {type, code, key, windowsVirtualKeyCode: keyCode});
        },
        async screenshot() {
            const clip = {x: 0, y: 0, width: 480, height: 360, scale: 1};
            return Buffer.from(
                (await page('Page.captureScreenshot', {format: 'png', clip})).data, 'base64');
        },
        async close() {
            const exited = browser.exitCode !== null ?
                null :
                new Promise((done) => browser.once('exit', done));
            await send('Browser.close').catch(() => browser.kill());
            await exited;
            fs.rmSync(profile, {recursive: true, force: true});
        },
    };
}
