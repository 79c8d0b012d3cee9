// Every demo workflow exported by "velkmod-cli workflow export --format bpmn",
// and the hand-written files the importer is tested with, read by bpmn-moddle
// without a warning: every element known, every reference resolved, our own
// extension elements kept; and written back by it, read again the same.
// Run by run.sh (VELKMOD_CLI).

import { test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { BpmnModdle } from 'bpmn-moddle';

const cli = process.env.VELKMOD_CLI;
const here = path.dirname(fileURLToPath(import.meta.url));
const work = fs.mkdtempSync(path.join(os.tmpdir(), 'velk-moddle-'));

function run(...args) {
  return execFileSync(cli, args, {
    env: { ...process.env, VELK_DATA_DIR: path.join(work, 'data'),
           VELK_SETTINGS: path.join(work, 'velkmod.conf'), QT_QPA_PLATFORM: 'offscreen' },
    encoding: 'utf8',
  });
}

async function read(xml) {
  const { rootElement, warnings } = await new BpmnModdle().fromXML(xml);
  assert.deepEqual(warnings.map((w) => w.message), []);
  return rootElement;
}

const flowElements = (container) => (container.flowElements || [])
  .flatMap((e) => [e, ...(e.$type === 'bpmn:SubProcess' ? flowElements(e) : [])]);

test('demo workflows exported as BPMN are read without warnings and survive a write', async () => {
  run('demo', '--dir', path.join(work, 'data'));
  for (const name of ['Order Handling', 'ICDR: Credit check', 'Travel Request', 'Complaint Handling']) {
    const xml = run('workflow', 'export', name, '--format', 'bpmn');
    const definitions = await read(xml);
    const process = definitions.rootElements.find((e) => e.$type === 'bpmn:Process');
    assert.equal(process.name, name);
    const elements = flowElements(process);
    const tasks = elements.filter((e) => e.extensionElements?.values?.some((v) => v.$type === 'velk:task'));
    assert.ok(tasks.length > 0, name);
    for (const flow of elements.filter((e) => e.$type === 'bpmn:SequenceFlow')) {
      assert.ok(flow.sourceRef && flow.targetRef, `${name}: ${flow.id}`);
    }
    // Every flow node and flow has its shape or edge in some diagram.
    const drawn = new Set(definitions.diagrams.flatMap((d) => d.plane.planeElement.map((p) => p.bpmnElement?.id)));
    for (const e of elements) assert.ok(drawn.has(e.id), `${name}: ${e.id} has no shape`);

    const { xml: again } = await new BpmnModdle().toXML(definitions);
    assert.equal(flowElements((await read(again)).rootElements.find((e) => e.$type === 'bpmn:Process')).length,
                 elements.length);
  }
});

test('the hand-written files the importer is tested with are BPMN 2.0 as bpmn-moddle reads it', async () => {
  const samples = path.join(here, '../bpmn/samples');
  for (const file of fs.readdirSync(samples)) await read(fs.readFileSync(path.join(samples, file), 'utf8'));
});
