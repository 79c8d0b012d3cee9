{{%AUTOESCAPE context="HTML"}}{{#EMPTY}}<p class="note">None.</p>{{/EMPTY}}{{#LIST}}<ul class="tree">
{{#NODE}}<li{{#ANCHOR}} id="{{ID}}"{{/ANCHOR}}><span class="label">{{LABEL}}</span>{{#KIND}} <span class="kind">{{TEXT}}</span>{{/KIND}}{{#FACTS}}
<dl class="facts">{{#FACT}}<div><dt>{{LABEL}}</dt><dd>{{VALUE}}</dd></div>{{/FACT}}</dl>{{/FACTS}}
{{>CHILDREN}}</li>
{{/NODE}}</ul>{{/LIST}}
