{{%AUTOESCAPE context="HTML"}}<!DOCTYPE html>
<html lang="en">
<head>
<title>{{TITLE}} - {{SITE_TITLE}}</title>
{{>HEAD}}
</head>
<body>
{{>HEADER}}
<main class="workflow">
<h1>{{TITLE}}</h1>
<dl class="facts">
{{#FACT}}<div><dt>{{LABEL}}</dt><dd>{{VALUE}}</dd></div>
{{/FACT}}</dl>
{{#OTHER_LEVELS}}<nav class="levels" aria-label="Levels"><ul>
{{#LEVEL_LINK}}<li><a href="#level-{{NUMBER}}">{{HEADING}}</a></li>
{{/LEVEL_LINK}}</ul></nav>{{/OTHER_LEVELS}}
<div class="panes">
<div class="levelpane">
{{#LEVEL}}<section class="level" id="level-{{NUMBER}}" aria-labelledby="level-{{NUMBER}}-heading">
<h2 id="level-{{NUMBER}}-heading">{{HEADING}}</h2>
{{#PARENT}}<p class="up"><a href="#level-{{NUMBER}}">Up to {{HEADING}}</a></p>{{/PARENT}}
<div class="zoom" role="group" aria-label="Zoom the drawing"><button type="button" data-zoom="in" aria-label="Zoom in">+</button><button type="button" data-zoom="out" aria-label="Zoom out">&minus;</button><button type="button" data-zoom="fit">Fit</button><button type="button" data-zoom="reset">100%</button></div>
<div class="drawing" tabindex="0" role="region" aria-label="Drawing of {{HEADING}}: arrow keys pan, + and - zoom">
<svg xmlns="http://www.w3.org/2000/svg" viewBox="{{LEFT}} {{TOP}} {{WIDTH}} {{HEIGHT}}" width="{{WIDTH}}" height="{{HEIGHT}}" font-size="{{FONT_SIZE}}" font-family="DejaVu Sans, Verdana, sans-serif">
<g class="nodes">{{#NODE}}<a class="node" href="{{HREF}}" data-task="{{ID}}" aria-label="{{LABEL}}"><title>{{LABEL}}</title><image href="assets/node-{{PICTURE}}.png" x="{{X}}" y="{{Y}}" width="34" height="34"/><image class="selected" href="assets/node-{{PICTURE}}-selected.png" x="{{X}}" y="{{Y}}" width="34" height="34"/></a>{{/NODE}}</g>
<g class="arrows">{{#ARROW}}<a class="arrow" href="#arrow-{{ID}}" data-arrow="{{ID}}" aria-label="{{LABEL}}"><line class="hit" x1="{{X1}}" y1="{{Y1}}" x2="{{X2}}" y2="{{Y2}}"/><line x1="{{X1}}" y1="{{Y1}}" x2="{{X2}}" y2="{{Y2}}"/><polygon points="{{HEAD}}"/></a>{{/ARROW}}</g>
<g class="texts">{{#TEXT}}<a href="{{HREF}}" tabindex="-1" aria-hidden="true"><text>{{#LINE}}<tspan x="{{X}}" y="{{Y}}">{{TEXT}}</tspan>{{/LINE}}</text></a>{{/TEXT}}</g>
<g class="descriptions">{{#DESCRIPTION}}<a href="#arrow-{{ID}}" data-arrow="{{ID}}" tabindex="-1" aria-hidden="true"><rect x="{{X}}" y="{{Y}}" width="{{WIDTH}}" height="{{HEIGHT}}"/><text x="{{TEXT_X}}" y="{{TEXT_Y}}" text-anchor="middle">{{TEXT}}</text></a>{{/DESCRIPTION}}</g>
</svg>
</div>
<table class="tasks">
<caption>Tasks of {{HEADING}}</caption>
<thead><tr><th scope="col">Task</th><th scope="col">Kind</th><th scope="col">Performer</th><th scope="col">Forms</th><th scope="col">Duration</th></tr></thead>
<tbody>
{{#ROW}}<tr><td><a href="{{HREF}}">{{NAME}}</a></td><td>{{KIND}}</td><td>{{PERFORMER}}</td><td>{{FORMS}}</td><td>{{DURATION}}</td></tr>
{{/ROW}}</tbody>
</table>
</section>
{{/LEVEL}}</div>
<aside class="details" aria-label="Details">
<p class="hint">Choose a task or an arrow in the drawing or the list to see its details here.</p>
{{#TASK}}<article class="detail" id="task-{{ID}}" data-level="{{LEVEL}}" tabindex="-1">
<h3>{{NAME}}</h3>
<dl>{{#ROW}}<dt>{{LABEL}}</dt><dd>{{VALUE}}{{#LINK}}<a href="{{HREF}}">{{TEXT}}</a>{{/LINK}}</dd>
{{/ROW}}</dl>
{{#ROUTING}}<h4>Routing</h4>
<ul>{{#ROUTE}}<li><a href="#arrow-{{ARROW}}">{{ROUTING}}</a> to <a href="{{HREF}}">{{TARGET}}</a>{{#CONDITION}}: <q>{{TEXT}}</q>{{/CONDITION}}</li>{{/ROUTE}}</ul>{{/ROUTING}}
</article>
{{/TASK}}{{#ARROW_DETAIL}}<article class="detail" id="arrow-{{ID}}" data-level="{{LEVEL}}" tabindex="-1">
<h3>Arrow from {{FROM}} to {{TO}}</h3>
<dl><dt>From</dt><dd><a href="{{FROM_HREF}}">{{FROM}}</a></dd>
<dt>To</dt><dd><a href="{{TO_HREF}}">{{TO}}</a></dd>
<dt>Routing</dt><dd>{{ROUTING}}</dd>
{{#CONDITION}}<dt>Condition</dt><dd><code>{{TEXT}}</code></dd>{{/CONDITION}}
{{#FORMULA}}<dt>Formula</dt><dd><code>{{TEXT}}</code></dd>{{/FORMULA}}</dl>
</article>
{{/ARROW_DETAIL}}</aside>
</div>
</main>
</body>
</html>
