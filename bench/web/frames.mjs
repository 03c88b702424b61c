// The browser build's frame report, in Debian's headless Chromium: the heaviest game-view scene
// (every plot planted, piped and watered, the panels open, the orders panel closed so that the
// garden grows: the scene of the native benchmark BM_Frame/orders_panel:0), set again before
// every animation frame of a new level, for five seconds at full speed and five with the
// processor slowed 4 times (the DevTools protocol's CPU throttling, as a phone's). For each it
// prints the frames the game drew and the median and 99th percentile of the time between them
// (the frames' own times, those of the browser's animation frames), the frames the browser's
// compositor presented and dropped meanwhile (from its trace), and the game's own work per frame
// (from the game's return from presenting a frame to its presenting the next).
// With KELVORA_BENCH set to the native kelvora_bench, the same scene is first timed natively in
// the same run, drawn back to back (BM_Frame/orders_panel:0) and at the game's pace of 60 frames a
// second (BM_FramePaced), and the page's work is set beside both.
// A report, not a timed test: it fails only when the scene did not run.
// With OUT_FOLDER, each run's CPU profile (Profiler.start of the DevTools protocol) is written
// there too, and the functions that took the most of it are printed.
// It plays the page through the web tests' Chromium driver and site (tests/web).
// Usage: node bench/web/frames.mjs WEB_FOLDER [OUT_FOLDER]
import { args, launch } from '../../tests/web/drivers/chromium.mjs';
import { game, serve } from '../../tests/web/site.mjs';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';

const [webDir, outDir] = process.argv.slice(2).map(p => path.resolve(p));
if (outDir) fs.mkdirSync(outDir, { recursive: true });

// The native figures (medians of three, in ms), timed before the browser starts.
function nativeFrames(bench) {
  const out = execFileSync(bench, ['--benchmark_filter=^BM_Frame(/orders_panel:0|Paced)',
    '--benchmark_repetitions=3', '--benchmark_report_aggregates_only=true',
    '--benchmark_format=json'], { cwd: path.dirname(path.dirname(bench)), encoding: 'utf8' });
  const median = prefix => JSON.parse(out).benchmarks.find(b =>
    b.aggregate_name === 'median' && b.name.startsWith(prefix) && !b.error_occurred);
  const ms = b => b && b.real_time / { ns: 1e6, us: 1e3, ms: 1 }[b.time_unit];
  return { backToBack: ms(median('BM_Frame/orders_panel:0')), paced: ms(median('BM_FramePaced')) };
}
const native = process.env.KELVORA_BENCH ? nativeFrames(process.env.KELVORA_BENCH) : null;
if (native) {
  console.log(`report: natively the same scene takes ${native.backToBack.toFixed(3)} ms a frame ` +
    `drawn back to back, ${native.paced.toFixed(3)} ms at 60 frames a second (medians)`);
}

// A page isolated from other origins reads its clock to a few microseconds, where others read it
// to a tenth of a millisecond: the game's work per frame is a fraction of one.
const site = await serve(webDir, { headers: {
  'Cross-Origin-Opener-Policy': 'same-origin', 'Cross-Origin-Embedder-Policy': 'require-corp' } });
// The browser composites the page with OpenGL, drawn by SwiftShader on the processor, as a
// phone's does with its GPU: the WebGL canvas goes to the compositor as a texture. With no GPU
// at all (the other tests' browser) the compositor is software, and the page's main thread copies
// each changed canvas out of WebGL into a bitmap for it, 3 MB a frame, in the frame's layer
// update: a cost no phone has, which took 15 to 17 ms of the frame's 16.7 on the processor slowed
// 4 times (0.07 ms composited with OpenGL).
const browser = await launch({
  args: [...args.filter(arg => arg !== '--disable-gpu'), '--use-angle=swiftshader', '--enable-unsafe-swiftshader'],
});
const tab = browser.first, page = tab.page;
const cdp = await tab.cdp();
const played = game(tab), state = played.state;
const quantile = (values, q) => {
  const sorted = [...values].sort((a, b) => a - b);
  return sorted[Math.min(sorted.length - 1, Math.floor(q * sorted.length))];
};

// The compositor's record of the frames of the page's own layer tree: presented, or dropped.
function compositorFrames(events) {
  const frames = events.filter(e => e.name === 'PipelineReporter' && e.ph === 'b')
    .map(e => e.args?.frame_reporter).filter(f => f && f.frame_type !== 'FORKED');
  // The page's tree is the one whose frames carry its animation.
  const tree = frames.find(f => f.has_main_animation)?.layer_tree_host_id;
  const own = frames.filter(f => f.layer_tree_host_id === tree);
  return {
    presented: own.filter(f => f.state.startsWith('STATE_PRESENTED')).length,
    dropped: own.filter(f => f.state === 'STATE_DROPPED').length,
  };
}

// Five seconds of the heaviest scene: when each frame was, and the game's work on each.
async function measure(name) {
  if (outDir) {
    await cdp.send('Profiler.enable');
    await cdp.send('Profiler.setSamplingInterval', { interval: 250 });
    await cdp.send('Profiler.start');
  }
  const events = [];
  const collect = e => events.push(...e.value);
  cdp.on('Tracing.dataCollected', collect);
  await cdp.send('Tracing.start', {
    traceConfig: {
      includedCategories: ['disabled-by-default-devtools.timeline.frame'], excludedCategories: ['*'] },
    transferMode: 'ReportEvents' });
  const run = await page.evaluate(async () => {
    let filling = true;
    const work = [];
    const fill = () => {
      if (!filling) return;
      work.push(Module._kelvora_frame_work_ms());
      Module._kelvora_fill_field(0);
      requestAnimationFrame(fill);
    };
    fill();
    await new Promise(resolve => requestAnimationFrame(resolve));
    Module.frameStarts = [];
    await new Promise(resolve => setTimeout(resolve, 5000));
    filling = false;
    return { starts: Module.frameStarts.slice(), work: work.slice(3) };
  });
  const traced = new Promise(resolve => cdp.once('Tracing.tracingComplete', resolve));
  await cdp.send('Tracing.end');
  await traced;
  cdp.off('Tracing.dataCollected', collect);
  const shown = compositorFrames(events);
  const intervals = run.starts.slice(1).map((t, i) => t - run.starts[i]);
  const ms = v => (v === undefined ? 'none' : v.toFixed(2));
  const work = quantile(run.work, 0.5);
  console.log(`report: ${name}: ${run.starts.length} frames in 5 s; interval median ` +
    `${ms(quantile(intervals, 0.5))} ms, 99th percentile ${ms(quantile(intervals, 0.99))} ms; ` +
    `the compositor presented ${shown.presented} frames of the page and dropped ` +
    `${shown.dropped}; the game's own work per frame median ${ms(work)} ms, ` +
    `99th percentile ${ms(quantile(run.work, 0.99))} ms`);
  if (native && work !== undefined && name.endsWith('full speed')) {
    console.log(`report: ${name}: the work is ${(work / native.backToBack).toFixed(2)} times the ` +
      `native frame drawn back to back, ${(work / native.paced).toFixed(2)} times the native ` +
      `frame at 60 frames a second`);
  }
  if (outDir) {
    const { profile } = await cdp.send('Profiler.stop');
    fs.writeFileSync(path.join(outDir, `${name.replace(/\W+/g, '-')}.cpuprofile`), JSON.stringify(profile));
    printProfile(profile);
  }
  return run;
}

// The functions with the most samples of their own, as shares of the time not idle.
function printProfile(profile) {
  const byId = new Map(profile.nodes.map(n => [n.id, n]));
  const self = new Map();
  let busy = 0;
  profile.samples.forEach((id, i) => {
    const frame = byId.get(id).callFrame;
    const name = frame.functionName || `(${frame.url.split('/').pop() || 'anonymous'})`;
    const dt = profile.timeDeltas[i] || 0;
    if (name === '(idle)' || name === '(program)') return;
    busy += dt;
    self.set(name, (self.get(name) || 0) + dt);
  });
  const total = profile.endTime - profile.startTime;
  console.log(`  busy ${(100 * busy / total).toFixed(1)}% of the run; the most of it, by own time:`);
  [...self].sort((a, b) => b[1] - a[1]).slice(0, 12).forEach(([name, t]) => {
    console.log(`  ${(100 * t / busy).toFixed(1).padStart(5)}%  ${name.slice(0, 100)}`);
  });
}

let failed = false;
try {
  await played.openToMenu(site.url);
  if (!await page.evaluate(() => crossOriginIsolated)) console.log('note: the page is not isolated, its clock is coarse');
  await played.newLevel();

  for (const rate of [1, 4]) {
    await cdp.send('Emulation.setCPUThrottlingRate', { rate });
    const name = rate === 1 ? 'heaviest scene, full speed' : `heaviest scene, processor slowed ${rate} times`;
    const run = await measure(name);
    const s = await state();
    const planted = s.Field.flat().filter(plot => plot.Planted).length;
    const ran = run.starts.length > 0 && run.work.length > 0 && s.InGame && s.LevelNumber === 1 &&
      planted === s.Field.flat().length;
    if (!ran) {
      console.log(`FAIL ${name}: the scene did not run (${run.starts.length} frames, level ` +
        `${s.LevelNumber}, in game ${s.InGame}, ${planted} plots planted)`);
      failed = true;
    }
  }
  await cdp.send('Emulation.setCPUThrottlingRate', { rate: 1 });
} catch (e) {
  console.log(`FAIL the frame report ran to its end (${e.message})`);
  failed = true;
}
await browser.quit();
await site.stop();
process.exit(failed ? 1 : 0);
